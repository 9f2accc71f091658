#include "planner/HostConfig.h"

#include "module/FileAccess.h"

#include <QSettings>

#include <cmath>

namespace {

// Files of a few lines; anything larger is no configuration.
constexpr qint64 largestConfig = 1024 * 1024;

void fill(HostAxisTable& table, int core, CheckedSettings& settings, const QString& prefix)
{
    for (int profile = 0; profile < HostAxisTable::profiles; ++profile) {
        const QString key = prefix + QStringLiteral("profile%1/").arg(profile + 1);
        auto read = [&](const char* name, double& value) {
            settings.readReal(prefix + QLatin1String(name), smallestFactor, largestFactor, value);
            settings.readReal(key + QLatin1String(name), smallestFactor, largestFactor, value);
        };
        read("pulsesPerMm", table.pulsesPerMm[core][profile]);
        read("velocityFactor", table.velocityFactor[core][profile]);
        read("accelerationFactor", table.accelerationFactor[core][profile]);
    }
}

} // namespace

CheckedSettings::CheckedSettings(const QSettings& settingsFile, QString filePath)
    : file(settingsFile)
    , path(std::move(filePath))
{}

template <typename Number, typename Convert>
void CheckedSettings::read(const QString& key, Number lowest, Number highest, Number& value,
                           Convert convert, const char* range)
{
    if (!file.contains(key))
        return;
    const QString text = file.value(key).toString();
    bool isNumber = false;
    const Number read = convert(text.trimmed(), &isNumber);
    if (isNumber && read >= lowest && read <= highest) {
        value = read;
    } else if (ok()) {
        error = QStringLiteral("%1: %2 = %3 is not %4")
                    .arg(path, key, text, QString::fromLatin1(range).arg(lowest).arg(highest));
    }
}

void CheckedSettings::readInteger(const QString& key, int lowest, int highest, int& value)
{
    read(
        key, lowest, highest, value,
        [](const QString& text, bool* isNumber) { return text.toInt(isNumber); },
        "a whole number from %1 to %2");
}

void CheckedSettings::readReal(const QString& key, double lowest, double highest, double& value)
{
    read(
        key, lowest, highest, value,
        [](const QString& text, bool* isNumber) { return text.toDouble(isNumber); },
        "a number from %1 to %2");
}

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
    const FileProblem problem = CheckRegularFile(path, largestConfig);
    if (problem != FileProblem::None) {
        error = QStringLiteral("cannot read the host configuration %1: %2")
                    .arg(path, DescribeFileProblem(problem, largestConfig));
        return false;
    }
    QSettings file(path, QSettings::IniFormat);
    file.allKeys(); // parses the file, so that its status tells
    if (file.status() != QSettings::NoError) {
        error = QStringLiteral("the host configuration %1 is not a valid INI file").arg(path);
        return false;
    }
    CheckedSettings settings(file, path);
    CrdResourceRecord& r = config.resource;
    int cores = r.coreCount, crds = r.crdCount, core = r.core, crd = r.crd, mmUnits = 1;
    settings.readInteger(QStringLiteral("host/cores"), 0, HostAxisTable::cores, cores);
    settings.readInteger(QStringLiteral("host/crdsPerCore"), 0, 15, crds);
    settings.readInteger(QStringLiteral("host/core"), 0, HostAxisTable::cores, core);
    settings.readInteger(QStringLiteral("host/crd"), 0, 15, crd);
    settings.readInteger(QStringLiteral("host/useMmUnits"), 0, 1, mmUnits);
    r.coreCount = int16_t(cores);
    r.crdCount = int16_t(crds);
    r.core = int16_t(core);
    r.crd = int16_t(crd);
    config.axisTable->useMmUnits = uint8_t(mmUnits);
    for (int tableCore = 0; tableCore < HostAxisTable::cores; ++tableCore) {
        fill(*config.axisTable, tableCore, settings, QStringLiteral("axes/"));
        fill(*config.axisTable, tableCore, settings, QStringLiteral("core%1/").arg(tableCore + 1));
    }
    error = settings.Error();
    return settings.ok();
}

std::array<double, 3> PulsesPerMm(const HostAxisTable* table, short core,
                                  const std::array<short, 3>& profiles)
{
    std::array<double, 3> factors{1, 1, 1};
    for (std::size_t axis = 0; axis < factors.size(); ++axis) {
        const int profile = profiles[axis];
        if (!table || core < 1 || core > HostAxisTable::cores || profile < 1
            || profile > HostAxisTable::profiles)
            continue;
        const double perMm = table->pulsesPerMm[core - 1][profile - 1];
        if (perMm >= smallestFactor && perMm <= largestFactor)
            factors[axis] = perMm;
    }
    return factors;
}
