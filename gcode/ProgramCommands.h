#ifndef KURVO_PROGRAMCOMMANDS_H
#define KURVO_PROGRAMCOMMANDS_H

#include "gcode/GCodeInterpreter.h"

// A controller command an interpreted program line asks for; its values are the interpreter's.
enum class ProgramCommand { LaserOn, LaserOff, Dwell, RapidLine, FeedLine, CentreArc, RadiusArc };

// Hands `take` each command of the line just interpreted, in the order they go to the
// controller: the laser switch, the dwell, then the motion.
template <typename Take> void ForEachCommand(const GCodeInterpreter& line, Take&& take)
{
    if (line.laserSwitch == 1)
        take(ProgramCommand::LaserOn);
    else if (line.laserSwitch == 0)
        take(ProgramCommand::LaserOff);
    if (line.delayTime != -1.0)
        take(ProgramCommand::Dwell);
    switch (line.MotionRequest()) {
    case GCodeInterpreter::Line:
        take(line.motionMode == 0 ? ProgramCommand::RapidLine : ProgramCommand::FeedLine);
        break;
    case GCodeInterpreter::CentreArc:
        take(ProgramCommand::CentreArc);
        break;
    case GCodeInterpreter::RadiusArc:
        take(ProgramCommand::RadiusArc);
        break;
    case GCodeInterpreter::NoMotion:
        break;
    }
}

#endif
