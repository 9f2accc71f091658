#include "planner/MachineTravel.h"

#include "planner/HostConfig.h"

#include <QSettings>

#include <cmath>

namespace {

constexpr double farthest = 1e9; // mm
constexpr const char* axisNames[] = {"x", "y", "z"};

} // namespace

bool MachineTravel::IsSet() const
{
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (std::isfinite(lowest[axis]) || std::isfinite(highest[axis]))
            return true;
    }
    return false;
}

bool MachineTravel::Read(const QString& configPath, MachineTravel& travel, QString& error)
{
    travel = MachineTravel();
    if (configPath.isEmpty())
        return true;
    const QSettings file(configPath, QSettings::IniFormat);
    CheckedSettings settings(file, configPath);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const QString key = QStringLiteral("travel/") + QLatin1String(axisNames[axis]);
        settings.readReal(key + QStringLiteral("Min"), -farthest, farthest, travel.lowest[axis]);
        settings.readReal(key + QStringLiteral("Max"), -farthest, farthest, travel.highest[axis]);
        if (settings.ok() && travel.lowest[axis] >= travel.highest[axis]) {
            error = QStringLiteral("%1: %2Min = %3 is not below %2Max = %4")
                        .arg(configPath, key)
                        .arg(travel.lowest[axis])
                        .arg(travel.highest[axis]);
            return false;
        }
    }
    error = settings.Error();
    return settings.ok();
}

std::optional<TravelLeft> LeavesTravel(const PathExtent& motion,
                                       const std::array<double, 3>& originMm,
                                       const MachineTravel& travel, int64_t line)
{
    if (!motion.Lowest())
        return std::nullopt;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double low = (*motion.Lowest())[axis] + originMm[axis];
        const double high = motion.Highest()[axis] + originMm[axis];
        if (low < travel.lowest[axis])
            return TravelLeft{line, int(axis), travel.lowest[axis] - low, true};
        if (high > travel.highest[axis])
            return TravelLeft{line, int(axis), high - travel.highest[axis], false};
    }
    return std::nullopt;
}

QString TravelLeftText(const TravelLeft& left, const MachineTravel& travel)
{
    const std::size_t axis = std::size_t(left.axis);
    return QStringLiteral("%1 goes %2 mm past its %3 %4 mm")
        .arg(QChar(u"XYZ"[axis]))
        .arg(left.by, 0, 'f', 3)
        .arg(left.belowLowest ? QStringLiteral("minimum") : QStringLiteral("maximum"))
        .arg(left.belowLowest ? travel.lowest[axis] : travel.highest[axis]);
}
