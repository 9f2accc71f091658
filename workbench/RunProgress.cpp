#include "RunProgress.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

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

std::optional<double> PacedSecondsLeft(const RunFigures& figures)
{
    if (figures.executed <= 0)
        return std::nullopt;
    const double secondsPerSegment = figures.runSeconds / double(figures.executed);
    return secondsPerSegment * double(std::max<int64_t>(0, figures.sent - figures.executed));
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
    QString text
        = QStringLiteral("%1 of %2 segments \u00b7 run %3")
              .arg(english.toString(qlonglong(figures.executed)),
                   english.toString(qlonglong(figures.sent)), ClockText(figures.runSeconds));
    if (figures.secondsLeft)
        text += QStringLiteral(" \u00b7 left %1").arg(ClockText(*figures.secondsLeft));
    return text;
}
