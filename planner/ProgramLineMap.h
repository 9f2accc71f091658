#ifndef KURVO_PLANNER_PROGRAMLINEMAP_H
#define KURVO_PLANNER_PROGRAMLINEMAP_H

#include "gcode/ProgramText.h"

#include <cstdint>
#include <optional>
#include <vector>

// Where a program's commands come from: how many commands each of its lines sends, as the
// worker streams them; so that a count of commands done tells the line being executed.
class ProgramLineMap
{
public:
    ProgramLineMap() = default;
    // `commandsUpTo[i]`: the commands of lines 1 to i + 1. A converted program names the lines of
    // its source instead: `sourceLines[i]` for line i + 1, of `sourceLineCount`.
    explicit ProgramLineMap(std::vector<int64_t> commandsUpTo,
                            std::vector<int64_t> sourceLines = {}, int64_t sourceLineCount = 0)
        : commandsUpTo(std::move(commandsUpTo))
        , sourceLines(std::move(sourceLines))
        , sourceLineCount(sourceLineCount)
    {}

    bool IsEmpty() const { return commandsUpTo.empty(); }
    int64_t LineCount() const
    {
        return sourceLines.empty() ? int64_t(commandsUpTo.size()) : sourceLineCount;
    }
    int64_t Commands() const { return commandsUpTo.empty() ? 0 : commandsUpTo.back(); }
    // The line (from 1) whose command runs once `executed` commands are done; the last line
    // that sends one once all are done.
    int64_t LineAt(int64_t executed) const;

    // The laser as the program's switches leave it once `executed` commands are done; unknown
    // before the first.
    struct LaserSwitch
    {
        int64_t command = 0; // its number among the program's commands, from 1
        bool on = false;
    };
    void SetLaserSwitches(std::vector<LaserSwitch> switches)
    {
        laserSwitches = std::move(switches);
    }
    std::optional<bool> LaserAt(int64_t executed) const;

private:
    std::vector<int64_t> commandsUpTo;
    std::vector<LaserSwitch> laserSwitches;
    std::vector<int64_t> sourceLines;
    int64_t sourceLineCount = 0;
};

// How many commands each line of the program sends, as the worker streams them.
ProgramLineMap MapProgramLines(const ProgramText& program);

// The line of the program where line `line` of its source begins, for a converted program (its
// first move from that line or after); `line` itself for any other.
qsizetype ProgramLineOfSource(const ProgramText& program, qsizetype line);

#endif
