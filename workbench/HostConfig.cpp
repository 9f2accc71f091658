#include "HostConfig.h"

#include <QFileInfo>
#include <QSettings>

namespace {

void fill(HostAxisTable& table, int core, const QSettings& settings, const QString& prefix)
{
    for (int profile = 0; profile < HostAxisTable::profiles; ++profile) {
        const QString key = prefix + QStringLiteral("profile%1/").arg(profile + 1);
        auto read = [&](const char* name, double current) {
            const QString common = prefix + QLatin1String(name);
            const double shared = settings.value(common, current).toDouble();
            return settings.value(key + QLatin1String(name), shared).toDouble();
        };
        table.pulsesPerMm[core][profile] = read("pulsesPerMm", table.pulsesPerMm[core][profile]);
        table.velocityFactor[core][profile]
            = read("velocityFactor", table.velocityFactor[core][profile]);
        table.accelerationFactor[core][profile]
            = read("accelerationFactor", table.accelerationFactor[core][profile]);
    }
}

} // namespace

HostConfig HostConfig::defaults()
{
    HostConfig config;
    config.resource.coreCount = 1;
    config.resource.crdCount = 2;
    config.resource.core = 1;
    config.resource.crd = 1;
    config.axisTable = std::make_unique<HostAxisTable>();
    *config.axisTable = HostAxisTable{};
    config.axisTable->useMmUnits = 1;
    for (int core = 0; core < HostAxisTable::cores; ++core) {
        for (int profile = 0; profile < HostAxisTable::profiles; ++profile) {
            config.axisTable->pulsesPerMm[core][profile] = 1000;
            config.axisTable->velocityFactor[core][profile] = 1;
            config.axisTable->accelerationFactor[core][profile] = 0.001;
        }
    }
    return config;
}

bool HostConfig::load(const QString& path, HostConfig& config, QString& error)
{
    config = defaults();
    if (!QFileInfo(path).isReadable()) {
        error = QStringLiteral("cannot read the host configuration %1").arg(path);
        return false;
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.allKeys(); // parses the file, so that its status tells
    if (settings.status() != QSettings::NoError) {
        error = QStringLiteral("the host configuration %1 is not a valid INI file").arg(path);
        return false;
    }
    CrdResourceRecord& r = config.resource;
    r.coreCount = int16_t(settings.value(QStringLiteral("host/cores"), r.coreCount).toInt());
    r.crdCount = int16_t(settings.value(QStringLiteral("host/crdsPerCore"), r.crdCount).toInt());
    r.core = int16_t(settings.value(QStringLiteral("host/core"), r.core).toInt());
    r.crd = int16_t(settings.value(QStringLiteral("host/crd"), r.crd).toInt());
    config.axisTable->useMmUnits
        = uint8_t(settings.value(QStringLiteral("host/useMmUnits"), 1).toInt() != 0);
    for (int core = 0; core < HostAxisTable::cores; ++core) {
        fill(*config.axisTable, core, settings, QStringLiteral("axes/"));
        fill(*config.axisTable, core, settings, QStringLiteral("core%1/").arg(core + 1));
    }
    return true;
}
