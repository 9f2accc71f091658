#ifndef KURVO_PLANNER_JOBPROGRESS_H
#define KURVO_PLANNER_JOBPROGRESS_H

#include "planner/ProgramLineMap.h"
#include "planner/RunProgress.h"

#include <QString>

#include <optional>

// One job on the machine as the status bar tells it, from looks at the controller: the commands
// done of all the job has, the line they came from, the time run and the time left, by the
// program's timetable where there is one.
class JobProgress
{
public:
    // The timetable for runs of `program` from now on.
    void SetPlan(const QString& program, PlannedRun plan);
    // Where the commands of `program` come from; a map of another program than the one being
    // mapped last is left aside.
    void ExpectLineMap(const QString& program);
    void SetLineMap(const QString& program, ProgramLineMap map);

    // One look at the controller: whether it runs, the commands done since its last start and
    // those left in its buffer, at `nowMs` of a steady clock; `program` is the one the window
    // streams, empty for the table.
    void Observe(bool running, int64_t completed, int64_t remainder, double nowMs,
                 const QString& program);
    // Whether the job begun at the last look streams a program without a timetable, or without
    // a line map.
    bool WantsPlan() const;
    bool WantsLineMap() const;
    // Whether the job runs from the table, whose commands are all in the controller's buffer.
    bool RunsTable() const { return runProgram.isEmpty(); }

    // The figures of the last look; a table's time left is the controller's, when it tells.
    const RunFigures& Update(std::optional<double> tableSecondsLeft);
    const RunFigures& Shown() const { return shown; }

    // Whether a job runs or stands paused.
    bool Active() const;
    // The host stops the machine: the job ends stopped. Returns where it stood ("segment 356 of
    // 3,208, line 1,234"); empty when no job was under way.
    QString Stop();
    // The program line the last Stop came at, 0 when not known, and its program.
    qsizetype StoppedAtLine() const { return stoppedAtLine; }
    const QString& StoppedProgram() const { return stoppedProgram; }

private:
    bool Planned() const;
    bool Mapped() const;
    std::optional<double> SecondsLeft(const RunFigures& figures,
                                      std::optional<double> tableSecondsLeft) const;

    RunJob job;
    RunFigures shown;
    QString runProgram; // empty for a table run
    QString plannedProgram;
    PlannedRun plan;
    QString mappedProgram;
    ProgramLineMap lineMap;
    qsizetype stoppedAtLine = 0;
    QString stoppedProgram;
};

#endif
