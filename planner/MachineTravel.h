#ifndef KURVO_PLANNER_MACHINETRAVEL_H
#define KURVO_PLANNER_MACHINETRAVEL_H

#include "planner/PathPlot.h"

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

// How far each of X, Y and Z may go on the machine, in mm: the group "travel" of the host
// configuration (xMin, xMax, yMin, …), each bound optional; none by default.
struct MachineTravel
{
    std::array<double, 3> lowest{-std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()};
    std::array<double, 3> highest{std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::infinity()};

    bool IsSet() const;
    // The travel of the configuration at `configPath`; false with `error` set when a bound is
    // no number, or a minimum is not below its maximum.
    static bool Read(const QString& configPath, MachineTravel& travel, QString& error);
};

// Where a program's motion first leaves the travel: its line, the axis (0 = X) and how far past
// the bound.
struct TravelLeft
{
    int64_t line = 0;
    int axis = 0;
    double by = 0; // mm
    bool belowLowest = false;
};

// The first way the motion whose box is `motion` (in the program's coordinates, which lie
// `originMm` from the machine's) leaves `travel`; nothing while it stays within.
std::optional<TravelLeft> LeavesTravel(const PathExtent& motion,
                                       const std::array<double, 3>& originMm,
                                       const MachineTravel& travel, int64_t line);

// "X goes 12.5 mm past its maximum 300 mm".
QString TravelLeftText(const TravelLeft& left, const MachineTravel& travel);

#endif
