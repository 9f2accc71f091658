#include "workbench/RecentPrograms.h"

#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

const QString recentKey = QStringLiteral("recentPrograms");

std::unique_ptr<QSettings> workbenchSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Kurvo"), QStringLiteral("kurvo-workbench"));
}

} // namespace

QStringList WithRecent(QStringList recent, const QString& program, int kept)
{
    const QString path = QFileInfo(program).absoluteFilePath();
    recent.removeAll(path);
    recent.prepend(path);
    return recent.mid(0, kept);
}

QStringList ReadRecentPrograms()
{
    return workbenchSettings()->value(recentKey).toStringList();
}

void WriteRecentPrograms(const QStringList& recent)
{
    workbenchSettings()->setValue(recentKey, recent);
}
