#ifndef KURVO_WORKBENCH_RUNPROGRESS_H
#define KURVO_WORKBENCH_RUNPROGRESS_H

#include <QJsonArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The planner's timetable of a program, from its dry run: how long the run takes until each
// number of segments is done.
class PlannedRun
{
public:
    struct Point
    {
        int64_t executed = 0;
        double ms = 0;
    };

    PlannedRun() = default;
    // `points` in rising order of segments; the run ends after `segments` at `totalMs`.
    PlannedRun(std::vector<Point> points, int64_t segments, double totalMs);

    bool IsEmpty() const { return segments == 0; }
    int64_t Segments() const { return segments; }
    double TotalMs() const { return totalMs; }
    // The planned time once `executed` segments are done, linear between the points known.
    double TimeAt(int64_t executed) const;
    double TimeLeftMs(int64_t executed) const;
    const std::vector<Point>& Points() const { return points; }

private:
    std::vector<Point> points; // starts at (0, 0), ends at (segments, totalMs)
    int64_t segments = 0;
    double totalMs = 0;
};

// The timetable for scripts and the workbench, [[segments, ms], ...]; and back, empty when the
// array is no timetable.
QJsonArray TimetableJson(const PlannedRun& plan);
PlannedRun TimetableFromJson(const QJsonArray& json);

// Follows one job on the controller across its runs: a job begins when a run starts that is no
// resumption, goes on through Pause and resume (the controller restarts its counter at a
// resume, the job's count carries on), and ends stopped or finished.
class RunJob
{
public:
    enum class State { Idle, Running, Paused, Stopped, Finished };

    // One look at the controller: whether it runs, the commands done since its last start and
    // those left in its buffer, at `nowMs` of a steady clock.
    void Observe(bool running, int64_t completed, int64_t remainder, double nowMs);
    // The host stopped the machine: the run that ends next, or a paused one, ends the job.
    void Stop();

    State CurrentState() const { return state; }
    // Whether the last look began a new job.
    bool Began() const { return began; }
    int64_t Executed() const { return base + completed; }
    // Commands done and still in the buffer: the job's commands as far as they are known.
    int64_t Known() const { return base + completed + remainder; }
    // Time spent running, pauses left out.
    double RunSeconds() const;

private:
    State state = State::Idle;
    bool began = false;
    bool stopRequested = false;
    int64_t base = 0;
    int64_t completed = 0;
    int64_t remainder = 0;
    double legStartMs = 0;
    double lastMs = 0;
    double earlierLegsMs = 0;
};

// What the status bar shows of a job.
struct RunFigures
{
    RunJob::State state = RunJob::State::Idle;
    int64_t executed = 0;
    int64_t total = 0;
    double runSeconds = 0;
    std::optional<double> secondsLeft;
    std::optional<double> plannedSeconds; // the whole job's, by its timetable
    int64_t line = 0;                     // 0: not known
    int64_t lineCount = 0;
    std::optional<bool> laserOn; // as the program's commands done leave it; unknown for a table
};

// The time left of a run without a timetable: the commands still to do at the pace the run has
// kept so far; nothing before the first is done.
std::optional<double> PacedSecondsLeft(const RunFigures& figures);

// "Running · 1,204 of 5,000 segments (24%) · line 310 of 1,200 · run 0:12 · left 1:03", and for
// the other states "Paused · …" (time left as it was), "Stopped at segment 1,204, line 310 ·
// run 0:12", "Finished in 1:15 · 5,000 segments", "Idle".
QString ProgressText(const RunFigures& figures);
// The job's share done, 0 to 100.
int ProgressPercent(const RunFigures& figures);

// Hours appear only when there are any: "0:07", "12:40", "1:02:03".
QString ClockText(double seconds);

#endif
