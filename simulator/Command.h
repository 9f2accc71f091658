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

    Kind kind = Kind::Delay;
    int32_t segNum = 0;
    int64_t serial = 0; // its place in the FIFO's order
    // Motion: geometry in path units (pulses, or millimetres for the look-ahead forms), speeds
    // in path units per ms.
    Geometry geometry;
    AxisVector pulsesPerUnit{1, 1, 1, 1, 1};
    bool lookAhead = false; // the planner chooses the end speed; velEnd unused
    bool rapid = false;     // a G0 line
    double vMax = 0;
    double acc = 0;
    double velEnd = 0;
    // Look-ahead limits per axis, path units per ms (and per ms^2).
    AxisVector axisVMax{};
    AxisVector axisAMax{};
    AxisVector axisDVMax{};
    // Other kinds.
    short value[4] = {};
    double real[3] = {};
};

} // namespace rvsim

#endif
