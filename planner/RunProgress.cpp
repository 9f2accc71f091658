#include "planner/RunProgress.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// The context the status bar's texts are translated in.
struct RunProgress
{
    Q_DECLARE_TR_FUNCTIONS(RunProgress)
};

} // namespace

PlannedRun::PlannedRun(std::vector<Point> planPoints, int64_t planSegments, double planTotalMs)
    : points(std::move(planPoints))
    , segments(planSegments)
    , totalMs(planTotalMs)
{
    if (points.empty() || points.front().executed > 0)
        points.insert(points.begin(), Point{0, 0});
    if (points.back().executed < segments)
        points.push_back(Point{segments, totalMs});
}

double PlannedRun::TimeAt(int64_t executed) const
{
    if (points.empty())
        return 0;
    if (executed >= points.back().executed)
        return points.back().ms;
    const auto after = std::upper_bound(points.begin(), points.end(), executed,
                                        [](int64_t n, const Point& p) { return n < p.executed; });
    const Point& high = *after;
    const Point& low = *(after - 1);
    const double share = double(executed - low.executed) / double(high.executed - low.executed);
    return low.ms + share * (high.ms - low.ms);
}

double PlannedRun::TimeLeftMs(int64_t executed) const
{
    return std::max(0.0, totalMs - TimeAt(executed));
}

QJsonArray TimetableJson(const PlannedRun& plan)
{
    QJsonArray json;
    for (const PlannedRun::Point& point : plan.Points())
        json.append(QJsonArray{double(point.executed), point.ms});
    return json;
}

PlannedRun TimetableFromJson(const QJsonArray& json)
{
    std::vector<PlannedRun::Point> points;
    for (const QJsonValue& entry : json) {
        const QJsonArray pair = entry.toArray();
        if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
            return PlannedRun();
        points.push_back({int64_t(pair[0].toDouble()), pair[1].toDouble()});
    }
    if (points.empty())
        return PlannedRun();
    const PlannedRun::Point last = points.back();
    return PlannedRun(std::move(points), last.executed, last.ms);
}

void RunJob::Observe(bool running, int64_t nowCompleted, int64_t nowRemainder, double nowMs)
{
    began = false;
    const bool wasRunning = state == State::Running;
    if (running && !wasRunning) {
        if (state != State::Paused) {
            base = 0;
            completed = 0;
            earlierLegsMs = 0;
            stopRequested = false;
            began = true;
        }
        state = State::Running;
        legStartMs = nowMs;
    }
    if (running || wasRunning) {
        // A run resumed mid-command keeps its count; one resumed at a command's boundary
        // starts from 0.
        if (nowCompleted < completed)
            base += completed;
        completed = nowCompleted;
        remainder = nowRemainder;
        lastMs = nowMs;
    }
    if (!running && wasRunning) {
        earlierLegsMs += nowMs - legStartMs;
        if (stopRequested)
            state = State::Stopped;
        else if (remainder == 0)
            state = State::Finished;
        else
            state = State::Paused; // the window's Pause: the buffer still holds the rest
    }
}

void RunJob::Stop()
{
    if (state == State::Paused)
        state = State::Stopped;
    else if (state == State::Running)
        stopRequested = true;
}

double RunJob::RunSeconds() const
{
    const double runningMs = state == State::Running ? lastMs - legStartMs : 0;
    return (earlierLegsMs + runningMs) / 1000;
}

std::optional<double> PacedSecondsLeft(const RunFigures& figures)
{
    if (figures.executed <= 0)
        return std::nullopt;
    const double secondsPerCommand = figures.runSeconds / double(figures.executed);
    return secondsPerCommand * double(std::max<int64_t>(0, figures.total - figures.executed));
}

int ProgressPercent(const RunFigures& figures)
{
    if (figures.state == RunJob::State::Finished)
        return 100;
    if (figures.total <= 0)
        return 0;
    return int(std::clamp<int64_t>(100 * figures.executed / figures.total, 0, 100));
}

QString ClockText(double seconds)
{
    const auto whole = int64_t(std::llround(std::max(0.0, seconds)));
    const auto twoDigits = [](int64_t value) {
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    };
    const int64_t hours = whole / 3600;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(twoDigits(whole / 60 % 60), twoDigits(whole % 60));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(twoDigits(whole % 60));
}

QString ProgressText(const RunFigures& figures)
{
    const QLocale english(QLocale::English);
    const auto number = [&english](int64_t value) {
        return english.toString(qlonglong(value));
    };
    const auto segments = [](int64_t count) {
        return count == 1 ? RunProgress::tr("segment") : RunProgress::tr("segments");
    };
    const QString separator = QStringLiteral(" \u00b7 ");
    using State = RunJob::State;
    switch (figures.state) {
    case State::Idle:
        return RunProgress::tr("Idle");
    case State::Finished:
        return RunProgress::tr("Finished in %1").arg(ClockText(figures.runSeconds)) + separator
               + RunProgress::tr("%1 %2").arg(number(figures.executed), segments(figures.executed));
    case State::Stopped:
        return (figures.line > 0
                    ? RunProgress::tr("Stopped at segment %1, line %2")
                          .arg(number(figures.executed), number(figures.line))
                    : RunProgress::tr("Stopped at segment %1").arg(number(figures.executed)))
               + separator + RunProgress::tr("run %1").arg(ClockText(figures.runSeconds));
    case State::Running:
    case State::Paused:
        break;
    }
    QStringList parts{
        figures.state == State::Running ? RunProgress::tr("Running") : RunProgress::tr("Paused"),
        RunProgress::tr("%1 of %2 %3 (%4%)")
            .arg(number(figures.executed), number(figures.total), segments(figures.total))
            .arg(ProgressPercent(figures))};
    if (figures.line > 0)
        parts << RunProgress::tr("line %1 of %2")
                     .arg(number(figures.line), number(figures.lineCount));
    parts << RunProgress::tr("run %1").arg(ClockText(figures.runSeconds));
    if (figures.secondsLeft)
        parts << RunProgress::tr("left %1").arg(ClockText(*figures.secondsLeft));
    return parts.join(separator);
}
