#include "Motion.h"

#include <algorithm>
#include <cmath>

namespace rvsim {

namespace {
constexpr double pi = 3.14159265358979323846;
}

void SpeedProfile::plan(double distance, double startSpeed, double topSpeed, double endSpeed,
                        double acceleration)
{
    *this = SpeedProfile();
    length = std::max(0.0, distance);
    acc = acceleration;
    v0 = startSpeed;
    const double reachable = minOfRoot(std::min(endSpeed, topSpeed), v0 * v0 + 2 * acc * length);
    // The lowest speed braking over the whole length reaches.
    const double lowestSquared = std::max(0.0, v0 * v0 - 2 * acc * length);
    if (compareRoot(lowestSquared, reachable) > 0) {
        vPeak = v0;
        v1 = std::sqrt(lowestSquared);
        t3 = acc > 0 ? (v0 - v1) / acc : 0;
        return;
    }
    v1 = reachable;
    vPeak = v0 > topSpeed ? topSpeed
                          : minOfRoot(topSpeed, (2 * acc * length + v0 * v0 + v1 * v1) / 2);
    vPeak = std::max(vPeak, v1);
    d1 = std::abs(vPeak * vPeak - v0 * v0) / (2 * acc);
    const double d3 = (vPeak * vPeak - v1 * v1) / (2 * acc);
    d2 = std::max(0.0, length - d1 - d3);
    t1 = std::abs(vPeak - v0) / acc;
    t2 = vPeak > 0 ? d2 / vPeak : 0;
    t3 = (vPeak - v1) / acc;
}

double SpeedProfile::velocityAt(double t) const
{
    if (t <= 0)
        return v0;
    if (t < t1)
        return v0 + (vPeak >= v0 ? acc : -acc) * t;
    if (t < t1 + t2)
        return vPeak;
    const double tau = std::min(t - t1 - t2, t3);
    return vPeak - acc * tau;
}

double SpeedProfile::distanceAt(double t) const
{
    if (t <= 0)
        return 0;
    if (t >= duration())
        return length;
    if (t < t1) {
        const double a = vPeak >= v0 ? acc : -acc;
        return v0 * t + a * t * t / 2;
    }
    if (t < t1 + t2)
        return d1 + vPeak * (t - t1);
    const double tau = t - t1 - t2;
    return std::min(length, d1 + d2 + vPeak * tau - acc * tau * tau / 2);
}

double SpeedProfile::timeAt(double distance) const
{
    if (distance <= 0)
        return 0;
    if (distance >= length)
        return duration();
    if (distance < d1) {
        const double sign = vPeak >= v0 ? 1.0 : -1.0;
        const double v = std::sqrt(std::max(0.0, v0 * v0 + 2 * sign * acc * distance));
        return std::abs(v - v0) / acc;
    }
    if (distance < d1 + d2)
        return t1 + (distance - d1) / vPeak;
    const double v = std::sqrt(std::max(0.0, vPeak * vPeak - 2 * acc * (distance - d1 - d2)));
    return std::min(duration(), t1 + t2 + (vPeak - v) / acc);
}

void Geometry::makeLine()
{
    double sum = 0;
    for (int i = 0; i < crdAxisCount; ++i)
        sum += (end[i] - start[i]) * (end[i] - start[i]);
    length = std::sqrt(sum);
    isArc = false;
    a = 0;
    b = 1;
    centreA = centreB = radius = 0;
    startAngle = sweep = 0;
    // As directionAt() gives it, written in place too; a line leaves as it enters.
    for (int i = 0; i < crdAxisCount; ++i)
        entry[i] = exit[i] = length > 0 ? (end[i] - start[i]) / length : 0;
}

Geometry Geometry::arc(const AxisVector& start, const AxisVector& end, int a, int b, double centreA,
                       double centreB, bool ccw, bool fullCircle)
{
    Geometry g;
    g.isArc = true;
    g.start = start;
    g.end = end;
    g.a = a;
    g.b = b;
    g.centreA = centreA;
    g.centreB = centreB;
    g.radius = std::hypot(start[a] - centreA, start[b] - centreB);
    g.startAngle = std::atan2(start[b] - centreB, start[a] - centreA);
    const double endAngle = std::atan2(end[b] - centreB, end[a] - centreA);
    double sweep = endAngle - g.startAngle;
    if (ccw) {
        while (sweep <= 0)
            sweep += 2 * pi;
        if (!fullCircle && sweep > 2 * pi - 1e-12)
            sweep = 0;
    } else {
        while (sweep >= 0)
            sweep -= 2 * pi;
        if (!fullCircle && sweep < -2 * pi + 1e-12)
            sweep = 0;
    }
    if (fullCircle)
        sweep = ccw ? 2 * pi : -2 * pi;
    g.sweep = sweep;
    g.length = g.radius * std::abs(sweep);
    g.entry = g.directionAt(0);
    g.exit = g.directionAt(g.length);
    return g;
}

std::optional<Geometry> Geometry::arcByRadius(const AxisVector& start, const AxisVector& end, int a,
                                              int b, double radius, bool ccw)
{
    const double da = end[a] - start[a];
    const double db = end[b] - start[b];
    const double chord = std::hypot(da, db);
    const double r = std::abs(radius);
    if (!(chord > 0) || !(r > 0))
        return std::nullopt;
    double half = chord / 2;
    if (r < half) {
        // Within rounding of a half circle (the end point went through integer pulses).
        if (half - r > 1e-9 * std::max(1.0, r) + 1e-6)
            return std::nullopt;
        half = r;
    }
    const double height = std::sqrt(std::max(0.0, r * r - half * half));
    // The centre of the shorter arc lies to the left of the chord for a counter-clockwise arc.
    const double side = ((radius > 0) == ccw) ? 1.0 : -1.0;
    const double midA = (start[a] + end[a]) / 2;
    const double midB = (start[b] + end[b]) / 2;
    const double centreA = midA - side * height * db / chord;
    const double centreB = midB + side * height * da / chord;
    return arc(start, end, a, b, centreA, centreB, ccw, false);
}

std::optional<Geometry> Geometry::arcByCentre(const AxisVector& start, const AxisVector& end, int a,
                                              int b, double offsetA, double offsetB, bool ccw,
                                              double tolerance)
{
    const double centreA = start[a] + offsetA;
    const double centreB = start[b] + offsetB;
    const double startRadius = std::hypot(offsetA, offsetB);
    const double endRadius = std::hypot(end[a] - centreA, end[b] - centreB);
    if (!(startRadius > 0) || !(std::abs(startRadius - endRadius) <= tolerance))
        return std::nullopt;
    const bool fullCircle = std::hypot(end[a] - start[a], end[b] - start[b]) <= tolerance;
    return arc(start, end, a, b, centreA, centreB, ccw, fullCircle);
}

AxisVector Geometry::pointAt(double distance) const
{
    if (distance >= length)
        return end;
    if (distance <= 0)
        return start;
    const double fraction = distance / length;
    AxisVector p = start;
    if (!isArc) {
        for (int i = 0; i < crdAxisCount; ++i)
            p[i] += (end[i] - start[i]) * fraction;
        return p;
    }
    const double angle = startAngle + sweep * fraction;
    p[a] = centreA + radius * std::cos(angle);
    p[b] = centreB + radius * std::sin(angle);
    return p;
}

AxisVector Geometry::directionAt(double distance) const
{
    AxisVector d{};
    if (!(length > 0))
        return d;
    if (!isArc) {
        for (int i = 0; i < crdAxisCount; ++i)
            d[i] = (end[i] - start[i]) / length;
        return d;
    }
    const double angle = startAngle + sweep * std::clamp(distance / length, 0.0, 1.0);
    const double turn = sweep > 0 ? 1.0 : -1.0;
    d[a] = -std::sin(angle) * turn;
    d[b] = std::cos(angle) * turn;
    return d;
}

} // namespace rvsim
