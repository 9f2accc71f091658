#ifndef RVSIM_COMMAND_H
#define RVSIM_COMMAND_H

#include "Motion.h"

#include <cstdint>

namespace rvsim {

// One buffered command, its values already in the units it executes in.
struct Command
{
    enum class Kind {
        Motion,
        Delay,
        DigitalOutput,
        AnalogOutput,
        Move,
        Gear,
        LimitsOn,
        LimitsOff,
        StopInput,
        LaserOn,
        LaserOff,
        LaserFollowMode,
        LaserFollowRatio,
        LaserFollowOff,
        PosCompareStart,
        PosCompareStop,
    };

    // What the planner reads of every command ahead comes first, on as few cache lines as can be:
    // a buffer of them is larger than the cache, and the planner reads each far behind its
    // writing.
    Kind kind = Kind::Delay;
    bool lookAhead = false; // the planner chooses the end speed; velEnd unused
    bool rapid = false;     // a G0 line
    int32_t segNum = 0;
    int64_t serial = 0; // its place in the FIFO's order
    // Motion: geometry in path units (pulses, or millimetres for the look-ahead forms), speeds
    // in path units per ms; the look-ahead's corner limit per axis in path units per ms.
    double vMax = 0;
    double acc = 0;
    double velEnd = 0;
    AxisVector pulsesPerUnit{1, 1, 1, 1, 1};
    AxisVector axisDVMax{};
    Geometry geometry;
    // Other kinds.
    short value[4] = {};
    double real[3] = {};
};

} // namespace rvsim

#endif
