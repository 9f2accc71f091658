#include "planner/ProgramLineMap.h"

#include "gcode/ProgramCommands.h"
#include "gcode/ProgramWalk.h"

#include <algorithm>

int64_t ProgramLineMap::LineAt(int64_t executed) const
{
    if (commandsUpTo.empty())
        return 0;
    const int64_t next = std::min(executed, Commands() - 1);
    const auto line = std::upper_bound(commandsUpTo.begin(), commandsUpTo.end(), next);
    return int64_t(line - commandsUpTo.begin()) + 1;
}

ProgramLineMap MapProgramLines(const ProgramText& program)
{
    std::vector<int64_t> commandsUpTo;
    commandsUpTo.reserve(std::size_t(program.LineCount()));
    int64_t commands = 0;
    for (ProgramWalk walk(program); walk.Next();) {
        ForEachCommand(walk.State(), [&commands](ProgramCommand) { ++commands; });
        commandsUpTo.push_back(commands);
    }
    return ProgramLineMap(std::move(commandsUpTo));
}
