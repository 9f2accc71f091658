#ifndef KURVO_WORKBENCH_RUNPROGRESS_H
#define KURVO_WORKBENCH_RUNPROGRESS_H

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

// What the status bar shows of a run.
struct RunFigures
{
    int64_t executed = 0;
    int64_t sent = 0;
    double runSeconds = 0;
    std::optional<double> secondsLeft;
};

// The time left of a run without a timetable: the segments still in the buffer at the pace the
// run has kept so far; nothing before the first segment is done.
std::optional<double> PacedSecondsLeft(const RunFigures& figures);

// "1,204 of 5,000 segments · run 0:12 · left 1:03"
QString ProgressText(const RunFigures& figures);

// Hours appear only when there are any: "0:07", "12:40", "1:02:03".
QString ClockText(double seconds);

#endif
