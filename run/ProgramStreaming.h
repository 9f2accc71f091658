#ifndef KURVO_PROGRAMSTREAMING_H
#define KURVO_PROGRAMSTREAMING_H

#include "controller/CrdAddress.h"
#include "gcode/ProgramCommands.h"
#include "gcode/ProgramText.h"
#include "gcode/ProgramWalk.h"
#include "module/HostTypes.h"

#include <functional>

// The motion starts once this many lines are in, or earlier when the buffer fills first.
constexpr qsizetype startAfterLines = 1000;

// What a program's stream leaves to whoever runs it: the worker waits on the wall clock and can
// be stopped; a dry run moves simulated time on instead.
class StreamControl
{
public:
    virtual ~StreamControl() = default;
    // Waits until the buffer has room for a command; false to end the stream there.
    virtual bool WaitForSpace() = 0;
    // Starts the motion unless it runs already.
    virtual void StartMotion() = 0;
    // Waits a while for the look-ahead to be taken at the end; false to give up.
    virtual bool WaitForFlush() = 0;
};

// Called after each command sent, with the line it came from and the controller's code (a
// command the controller refuses is not in its buffer).
using CommandSent
    = std::function<void(ProgramCommand command, const GCodeInterpreter& line, short code)>;
// Called after each line's commands, with the walk that read it (its index from 0 is the
// count of lines taken before it).
using LineTaken = std::function<void(const ProgramWalk& walk)>;

// Streams the program into the buffer at `to` as the worker does: every line interpreted and its
// commands sent, each once the buffer has room, reported through `report`; the motion started
// at the 1000th line; at the end the look-ahead pushed out ("MQN_CrdDataEx" reported) and the
// motion started. True when the program went in whole and the look-ahead was taken. With
// `words`, each line's words are told there as the interpreter reads them.
bool StreamProgram(const ProgramText& program, const ControllerAddress& to,
                   HostMessageCallback report, StreamControl& control, const CommandSent& sent = {},
                   const LineTaken& lineTaken = {}, LineWords* words = nullptr);

#endif
