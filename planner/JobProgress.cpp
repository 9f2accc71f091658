#include "planner/JobProgress.h"

#include <QLocale>

void JobProgress::SetPlan(const QString& program, PlannedRun newPlan)
{
    plannedProgram = program;
    plan = std::move(newPlan);
}

void JobProgress::ExpectLineMap(const QString& program)
{
    mappedProgram = program;
    lineMap = ProgramLineMap();
}

void JobProgress::SetLineMap(const QString& program, ProgramLineMap map)
{
    if (program == mappedProgram)
        lineMap = std::move(map);
}

void JobProgress::Observe(bool running, int64_t completed, int64_t remainder, double nowMs,
                          const QString& program)
{
    job.Observe(running, completed, remainder, nowMs);
    if (job.Began())
        runProgram = program;
}

bool JobProgress::WantsPlan() const
{
    return job.Began() && !runProgram.isEmpty() && runProgram != plannedProgram;
}

bool JobProgress::WantsLineMap() const
{
    return job.Began() && !runProgram.isEmpty() && runProgram != mappedProgram;
}

bool JobProgress::Planned() const
{
    return !runProgram.isEmpty() && runProgram == plannedProgram && !plan.IsEmpty();
}

bool JobProgress::Mapped() const
{
    return !runProgram.isEmpty() && runProgram == mappedProgram && !lineMap.IsEmpty();
}

// A streamed program's time left is its timetable's; a table's commands are all in the buffer,
// where the controller's planner plays them out. A program whose timetable is still being made
// goes at the pace it kept so far.
std::optional<double> JobProgress::SecondsLeft(const RunFigures& figures,
                                               std::optional<double> tableSecondsLeft) const
{
    if (Planned())
        return plan.TimeLeftMs(figures.executed) / 1000;
    if (RunsTable() && tableSecondsLeft)
        return tableSecondsLeft;
    return PacedSecondsLeft(figures);
}

const RunFigures& JobProgress::Update(std::optional<double> tableSecondsLeft)
{
    RunFigures figures;
    figures.state = job.CurrentState();
    figures.executed = job.Executed();
    figures.runSeconds = job.RunSeconds();
    figures.total = Planned() ? plan.Segments() : Mapped() ? lineMap.Commands() : job.Known();
    if (Planned())
        figures.plannedSeconds = plan.TotalMs() / 1000;
    // A stream whose buffer ran dry before its end stopped; it did not finish.
    if (figures.state == RunJob::State::Finished && figures.executed < figures.total)
        figures.state = RunJob::State::Stopped;
    if (Mapped()) {
        figures.line = lineMap.LineAt(figures.executed);
        figures.lineCount = lineMap.LineCount();
        figures.laserOn = lineMap.LaserAt(figures.executed);
    }
    if (figures.state == RunJob::State::Running)
        figures.secondsLeft = SecondsLeft(figures, tableSecondsLeft);
    else if (figures.state == RunJob::State::Paused)
        figures.secondsLeft = shown.secondsLeft; // frozen while the machine stands
    shown = figures;
    return shown;
}

bool JobProgress::Active() const
{
    return job.CurrentState() == RunJob::State::Running
           || job.CurrentState() == RunJob::State::Paused;
}

QString JobProgress::Stop()
{
    if (!Active())
        return QString();
    job.Stop();
    stoppedAtLine = shown.line;
    stoppedProgram = runProgram;
    const QLocale english(QLocale::English);
    QString where = QStringLiteral("segment %1 of %2")
                        .arg(english.toString(qlonglong(shown.executed)),
                             english.toString(qlonglong(shown.total)));
    if (shown.line > 0)
        where += QStringLiteral(", line %1").arg(english.toString(qlonglong(shown.line)));
    return where;
}
