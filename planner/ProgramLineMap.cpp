#include "planner/ProgramLineMap.h"

#include "gcode/ProgramCommands.h"
#include "gcode/ProgramWalk.h"
#include "planner/CommonGCode.h"

#include <algorithm>

int64_t ProgramLineMap::LineAt(int64_t executed) const
{
    if (commandsUpTo.empty())
        return 0;
    const int64_t next = std::min(executed, Commands() - 1);
    const auto line = std::upper_bound(commandsUpTo.begin(), commandsUpTo.end(), next);
    const std::size_t index = std::size_t(line - commandsUpTo.begin());
    return sourceLines.empty() ? int64_t(index) + 1 : sourceLines[index];
}

std::optional<bool> ProgramLineMap::LaserAt(int64_t executed) const
{
    const auto after = std::upper_bound(
        laserSwitches.begin(), laserSwitches.end(), executed,
        [](int64_t done, const LaserSwitch& laserSwitch) { return done < laserSwitch.command; });
    if (after == laserSwitches.begin())
        return std::nullopt;
    return std::prev(after)->on;
}

ProgramLineMap MapProgramLines(const ProgramText& program)
{
    const std::optional<qsizetype> source = ConvertedSourceLines(program);
    std::vector<int64_t> commandsUpTo, sourceLines;
    std::vector<ProgramLineMap::LaserSwitch> laserSwitches;
    commandsUpTo.reserve(std::size_t(program.LineCount()));
    int64_t commands = 0;
    for (ProgramWalk walk(program); walk.Next();) {
        ForEachCommand(walk.State(), [&](ProgramCommand command) {
            ++commands;
            if (command == ProgramCommand::LaserOn || command == ProgramCommand::LaserOff)
                laserSwitches.push_back({commands, command == ProgramCommand::LaserOn});
        });
        commandsUpTo.push_back(commands);
        if (source)
            sourceLines.push_back(walk.State().lineNumber);
    }
    ProgramLineMap map(std::move(commandsUpTo), std::move(sourceLines), source.value_or(0));
    map.SetLaserSwitches(std::move(laserSwitches));
    return map;
}

qsizetype ProgramLineOfSource(const ProgramText& program, qsizetype line)
{
    if (!ConvertedSourceLines(program))
        return line;
    for (ProgramWalk walk(program); walk.Next();) {
        if (walk.State().lineNumber >= line)
            return walk.Index() + 1;
    }
    return program.LineCount();
}
