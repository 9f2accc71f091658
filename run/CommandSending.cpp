#include "run/CommandSending.h"

#include "controller/CommandResult.h"
#include "controller/rvAPI.h"

#include <algorithm>

namespace {

constexpr short noOption = 0;

} // namespace

short SendProgramCommand(ProgramCommand command, const GCodeInterpreter& line,
                         const ControllerAddress& target, HostMessageCallback hostMessage)
{
    const auto report = [hostMessage](const char* name, short code) {
        ReportCommandResult(name, code, hostMessage);
        return code;
    };
    const auto [core, crd, fifo] = target;
    const double* p = line.position;
    using G = GCodeInterpreter;
    switch (command) {
    case ProgramCommand::LaserOn: {
        const short code = MQN_BufPosCompareStartEx(core, crd, fifo, 1);
        report("MQN_BufPosCompareStartExEnable", 1);
        return report("MQN_BufPosCompareStartEx", code);
    }
    case ProgramCommand::LaserOff:
        return report("MQN_BufPosCompareStopEx", MQN_BufPosCompareStopEx(core, crd, fifo, 1));
    case ProgramCommand::Dwell: {
        const short delay = short(std::clamp(line.delayTime, -32768.0, 32767.0));
        const short code = MQN_BufDelayEx(core, crd, delay, fifo);
        report("BufDelayTime", delay);
        return code;
    }
    case ProgramCommand::RapidLine:
        return report("MQN_LnXYZG0Ex",
                      MQN_LnXYZG0Ex(core, crd, p[G::X], p[G::Y], p[G::Z], line.Velocity(),
                                    line.Acceleration(), line.lineNumber, noOption, fifo));
    case ProgramCommand::FeedLine:
        return MQN_LnXYZEx(core, crd, p[G::X], p[G::Y], p[G::Z], line.Velocity(),
                           line.Acceleration(), line.lineNumber, noOption, fifo);
    case ProgramCommand::CentreArc:
        return report("MQN_LnXYZEx",
                      MQN_ArcXYCEx(core, crd, p[G::X], p[G::Y], line.arcCentre[0],
                                   line.arcCentre[1], line.ArcDirection(), line.Velocity(),
                                   line.Acceleration(), line.lineNumber, noOption, fifo));
    case ProgramCommand::RadiusArc:
        return MQN_ArcXYREx(core, crd, p[G::X], p[G::Y], line.arcRadius, line.ArcDirection(),
                            line.Velocity(), line.Acceleration(), 0, noOption, fifo);
    }
    return 0;
}
