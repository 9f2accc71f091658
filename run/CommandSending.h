#ifndef KURVO_COMMANDSENDING_H
#define KURVO_COMMANDSENDING_H

#include "gcode/ProgramCommands.h"
#include "module/HostTypes.h"

// Where a program's commands go: a coordinate system of a core, and its FIFO.
struct StreamTarget
{
    short core = 1;
    short crd = 1;
    short fifo = 0;
};

// Sends one command of the line just interpreted to the controller, in its look-ahead form, and
// reports what the worker reports of it through `hostMessage`.
void SendProgramCommand(ProgramCommand command, const GCodeInterpreter& line,
                        const StreamTarget& target, HostMessageCallback hostMessage);

#endif
