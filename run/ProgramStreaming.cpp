#include "run/ProgramStreaming.h"

#include "controller/CommandResult.h"
#include "controller/ReturnCodes.h"
#include "controller/rvAPI.h"
#include "gcode/ProgramWalk.h"
#include "run/CommandSending.h"

namespace {

constexpr short noOption = 0;

// Pushes out what the look-ahead holds; a full buffer refuses it, and only a running motion
// makes room.
bool flushLookAhead(const ControllerAddress& to, HostMessageCallback report, StreamControl& control)
{
    bool going = true;
    short code = MQN_CrdDataEx(to.core, to.crd, nullptr, noOption);
    while (code == ReturnCode::Refused && going) {
        control.StartMotion();
        going = control.WaitForFlush();
        if (going)
            code = MQN_CrdDataEx(to.core, to.crd, nullptr, noOption);
    }
    ReportCommandResult("MQN_CrdDataEx", code, report);
    return going;
}

} // namespace

bool StreamProgram(const ProgramText& program, const ControllerAddress& to,
                   HostMessageCallback report, StreamControl& control, const CommandSent& sent,
                   const LineTaken& lineTaken, LineWords* words)
{
    bool going = true;
    for (ProgramWalk walk(program, ProgramWalk::Acceleration::NotCarried, -1, words);
         going && walk.Next();) {
        const GCodeInterpreter& line = walk.State();
        const qsizetype taken = walk.Index() + 1;
        ForEachCommand(line, [&](ProgramCommand command) {
            going = going && control.WaitForSpace();
            if (!going)
                return;
            const short code = SendProgramCommand(command, line, to, report);
            if (sent)
                sent(command, line, code);
        });
        if (going && taken >= startAfterLines)
            control.StartMotion();
        if (lineTaken)
            lineTaken(walk);
    }
    if (!going || !flushLookAhead(to, report, control))
        return false;
    control.StartMotion();
    return true;
}
