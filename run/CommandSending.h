#ifndef KURVO_COMMANDSENDING_H
#define KURVO_COMMANDSENDING_H

#include "controller/CrdAddress.h"
#include "gcode/ProgramCommands.h"
#include "module/HostTypes.h"

// Sends one command of the line just interpreted to the controller, in its look-ahead form, and
// reports what the worker reports of it through `hostMessage`. Returns the controller's code.
short SendProgramCommand(ProgramCommand command, const GCodeInterpreter& line,
                         const ControllerAddress& target, HostMessageCallback hostMessage);

#endif
