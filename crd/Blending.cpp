#include "crd/Blending.h"

#include "controller/CommandResult.h"
#include "controller/rvAPI.h"
#include "crd/IniFile.h"
#include "crd/SettingsFolder.h"
#include "module/ModuleState.h"

#include <QSettings>

#include <cmath>
#include <optional>

QString ApplyFilterPrm()
{
    return ApplyBlendingFile(SettingsFolder() + QStringLiteral("/FilterPrm.ini"));
}

namespace {

// A value of the file as the controller takes it; empty when the text is no such number.
std::optional<short> shortValue(const QSettings& file, const QString& key, short fallback)
{
    if (!file.contains(key))
        return fallback;
    bool converted = false;
    const short value = file.value(key).toString().trimmed().toShort(&converted);
    return converted ? std::optional<short>(value) : std::nullopt;
}

std::optional<double> finiteValue(const QSettings& file, const QString& key)
{
    if (!file.contains(key))
        return 0.0;
    bool converted = false;
    const double value = file.value(key).toString().trimmed().toDouble(&converted);
    return converted && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString unusable(const QSettings& file, const QString& key)
{
    return QObject::tr("The blending file holds no usable value for \"%1\": "
                       "\"%2\". Nothing was sent.")
        .arg(key, file.value(key).toString());
}

} // namespace

QString ApplyBlendingFile(const QString& path)
{
    const FileProblem problem = CheckIniFile(path);
    if (problem != FileProblem::None && problem != FileProblem::Missing) {
        return QObject::tr("Option.ini File Write Error!");
    }
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Blending"));
    const std::optional<short> active = shortValue(file, QStringLiteral("active"), -1);
    if (!active) {
        return unusable(file, QStringLiteral("active"));
    }
    if (*active == -1)
        return {};
    const std::optional<short> paraType = shortValue(file, QStringLiteral("paraType"), 0);
    if (!paraType) {
        return unusable(file, QStringLiteral("paraType"));
    }
    double values[3] = {};
    const QString keys[3]
        = {QStringLiteral("para"), QStringLiteral("minAngle"), QStringLiteral("maxAngle")};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = finiteValue(file, keys[i]);
        if (!value) {
            return unusable(file, keys[i]);
        }
        values[i] = *value;
    }
    const double para = values[0], minAngle = values[1], maxAngle = values[2];
    file.endGroup();

    const ModuleState& state = moduleState();
    const short code = MQN_SetBlendingParaLa(state.currentCore, state.currentCrd, *paraType, para,
                                             minAngle, maxAngle);
    const QString line
        = QStringLiteral("MQN_SetBlendingParaLa active %1paraType%2 para%3 "
                         "maxAngle%4 ")
              .arg(QString::number(*active), QString::number(*paraType),
                   QString::number(para, 'g', -1), QString::number(maxAngle, 'g', -1));
    ReportToHost(line.toUtf8().constData(), 1);
    ReportToHost("MQN_SetBlendingParaLa", code);
    return {};
}
