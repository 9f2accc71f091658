#ifndef RVSIM_MOTION_H
#define RVSIM_MOTION_H

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace rvsim {

constexpr int crdAxisCount = 5; // X, Y, Z, A, C

// Speeds from a square root, as the look-ahead and a motion's profile take them, compared by
// their squares first: most comparisons then do without the root, with the very same results.
// A root rounded to nearest gives back what was squared, std::sqrt(x * x) == x, for any x whose
// square neither overflows nor underflows; a square only just apart from another may still
// round to the same root, and is taken the long way.
namespace roots {
inline bool squaresExactly(double x)
{
    return x >= 1e-150 && x <= 1e150;
}
constexpr double nearlyOne = 1 - 1e-12;
} // namespace roots

// The square of a limit as minOfRoot compares it: infinite where it does not square exactly.
inline double comparableSquare(double limit)
{
    return roots::squaresExactly(limit) ? limit * limit : std::numeric_limits<double>::infinity();
}

// std::min(limit, std::sqrt(square)), the limit's comparableSquare given.
inline double minOfRoot(double limit, double limitSquared, double square)
{
    if (limitSquared <= square)
        return limit;
    return std::min(limit, std::sqrt(square));
}

inline double minOfRoot(double limit, double square)
{
    return minOfRoot(limit, comparableSquare(limit), square);
}

// The sign of std::sqrt(square) - speed, for a speed of 0 or more; below (-1) when the root
// is not a number.
inline int compareRoot(double square, double speed)
{
    if (roots::squaresExactly(speed)) {
        const double speedSquared = speed * speed;
        if (square * roots::nearlyOne > speedSquared)
            return 1;
        if (square < speedSquared * roots::nearlyOne)
            return -1;
    }
    const double root = std::sqrt(square);
    return root > speed ? 1 : root == speed ? 0 : -1;
}

using AxisVector = std::array<double, crdAxisCount>;

// Speed along a path of `length`: from v0 to a peak (at most vMax) and on to v1, changing speed
// at `acc`. Distances and speeds in the path's own units per millisecond.
struct SpeedProfile
{
    // Makes this the profile over `distance` from `startSpeed`, at most `topSpeed`, to
    // `endSpeed` at `acceleration`, written where it is kept (as a copy of one planned beside it
    // would be read back before it was written out). The end speed is lowered to what the
    // distance allows; a start speed too high to reach it within the distance decelerates over
    // the whole distance and ends above it.
    void plan(double distance, double startSpeed, double topSpeed, double endSpeed,
              double acceleration);

    double duration() const { return t1 + t2 + t3; }
    double distanceAt(double t) const;
    double velocityAt(double t) const;
    double timeAt(double distance) const;

    double length = 0;
    double v0 = 0;
    double vPeak = 0;
    double v1 = 0;
    double acc = 0;
    double t1 = 0, t2 = 0, t3 = 0; // phase durations: to the peak, at the peak, to v1
    double d1 = 0, d2 = 0;         // distances of the first two phases
};

// A straight line or a circular arc through the coordinate system's axes.
struct Geometry
{
    // Makes this the straight line from its start to its end, every other field written where
    // it is kept: a command's geometry is built in place, as a copy of one built beside it would
    // be read back before it was written out.
    void makeLine();
    // Arc in the plane of axes (a, b), counter-clockwise from a towards b when ccw. A positive
    // radius takes the shorter arc, a negative one the longer. Empty when no circle of that
    // radius joins the two points.
    static std::optional<Geometry> arcByRadius(const AxisVector& start, const AxisVector& end,
                                               int a, int b, double radius, bool ccw);
    // Arc around start + (offsetA, offsetB); empty when the end lies off that circle by more
    // than `tolerance`. Equal start and end make a full circle.
    static std::optional<Geometry> arcByCentre(const AxisVector& start, const AxisVector& end,
                                               int a, int b, double offsetA, double offsetB,
                                               bool ccw, double tolerance);

    AxisVector pointAt(double distance) const;
    AxisVector directionAt(double distance) const; // unit tangent

    // What the planner reads of every motion ahead comes first, on as few cache lines as can
    // be. The unit tangents at the start and at the end are worked out once: the planner compares
    // them at every corner ahead, again at every segment start.
    double length = 0;
    AxisVector entry{};
    AxisVector exit{};
    bool isArc = false;
    AxisVector start{};
    AxisVector end{};
    int a = 0, b = 1;
    double centreA = 0, centreB = 0, radius = 0;
    double startAngle = 0, sweep = 0; // sweep > 0 counter-clockwise

private:
    static Geometry arc(const AxisVector& start, const AxisVector& end, int a, int b,
                        double centreA, double centreB, bool ccw, bool fullCircle);
};

} // namespace rvsim

#endif
