#include "crd/CrdSettings.h"

#include "crd/IniFile.h"

#include <QSettings>
#include <QStringList>

namespace {

QString groupName(short core, short crd)
{
    return QStringLiteral("KurvoCore%1Crd%2").arg(core).arg(crd);
}

} // namespace

CrdSettingsGroup ReadCrdSettings(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    CrdSettingsGroup group;
    for (const QString& name : file.childGroups()) {
        if (!name.contains(QLatin1String("KurvoCore")) || !name.contains(QLatin1String("Crd")))
            continue;
        const QStringList address
            = name.split(QStringLiteral("KurvoCore")).value(1).split(QStringLiteral("Crd"));
        bool isNumber = false;
        const short core = address.value(0).toShort(&isNumber);
        group.core = isNumber ? core : short(1);
        group.crd = isNumber ? address.value(1).toShort() : short(1);
    }
    file.beginGroup(groupName(group.core, group.crd));
    for (const QString& key : file.childKeys())
        group.values.insert(key, file.value(key));
    return group;
}

FileProblem WriteCrdSettings(const QString& path, short core, short crd, const QVariantMap& values)
{
    return WriteIniFile(path, [&](QSettings& file) {
        file.beginGroup(groupName(core, crd));
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            file.setValue(value.key(), value.value());
        file.endGroup();
    });
}
