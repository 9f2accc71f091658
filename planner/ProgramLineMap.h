#ifndef KURVO_PLANNER_PROGRAMLINEMAP_H
#define KURVO_PLANNER_PROGRAMLINEMAP_H

#include "gcode/ProgramText.h"

#include <cstdint>
#include <vector>

// Where a program's commands come from: how many commands each of its lines sends, as the
// worker streams them; so that a count of commands done tells the line being executed.
class ProgramLineMap
{
public:
    ProgramLineMap() = default;
    // `commandsUpTo[i]`: the commands of lines 1 to i + 1.
    explicit ProgramLineMap(std::vector<int64_t> commandsUpTo)
        : commandsUpTo(std::move(commandsUpTo))
    {}

    bool IsEmpty() const { return commandsUpTo.empty(); }
    int64_t LineCount() const { return int64_t(commandsUpTo.size()); }
    int64_t Commands() const { return commandsUpTo.empty() ? 0 : commandsUpTo.back(); }
    // The line (from 1) whose command runs once `executed` commands are done; the last line
    // that sends one once all are done.
    int64_t LineAt(int64_t executed) const;

private:
    std::vector<int64_t> commandsUpTo;
};

// How many commands each line of the program sends, as the worker streams them.
ProgramLineMap MapProgramLines(const ProgramText& program);

#endif
