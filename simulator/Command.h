#ifndef RVSIM_COMMAND_H
#define RVSIM_COMMAND_H

#include "Motion.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

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

    // Every field as a new command has it, but for the kind, a motion, and the geometry, which
    // the motion then writes whole: a command is made where the buffer keeps it, and clearing
    // all of it there at once cost a third of its buffering.
    void startMotion()
    {
        kind = Kind::Motion;
        lookAhead = false;
        rapid = false;
        segNum = 0;
        serial = 0;
        vMax = acc = velEnd = 0;
        pulsesPerUnit = {1, 1, 1, 1, 1};
        axisDVMax = {};
        std::fill(std::begin(value), std::end(value), short(0));
        std::fill(std::begin(real), std::end(real), 0.0);
    }
};

} // namespace rvsim

#endif
