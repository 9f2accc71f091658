#ifndef KURVO_PLANNER_CURVELINES_H
#define KURVO_PLANNER_CURVELINES_H

#include <array>
#include <vector>

// Curves of common G-code cut into straight lines that stay within a tolerance of them: each
// function returns the points after the curve's start, the last one its end exactly.
using Point3 = std::array<double, 3>;

// The square of how far `point` lies from the segment from `from` to `to`.
double SquaredDistanceToSegment(const Point3& point, const Point3& from, const Point3& to);

// The axes of an arc's plane, in the order in which its turn is counted (G17: X, Y; G18: Z, X;
// G19: Y, Z); the third axis moves in step with the turn, as in a helix.
struct ArcPlane
{
    int first;
    int second;
    int across;
};

// An arc from `from` to `to` about `centre` (only its two plane coordinates count), clockwise
// seen from the positive third axis when `clockwise`; a whole turn when the ends meet. Where the
// end lies at another radius than the start, the radius changes evenly along the turn.
std::vector<Point3> ArcLines(const Point3& from, const Point3& to, const Point3& centre,
                             ArcPlane plane, bool clockwise, double tolerance);

// A Bézier curve through its control points (three for a quadratic one, four for a cubic).
std::vector<Point3> BezierLines(const std::vector<Point3>& controls, double tolerance);

// A NURBS curve of `order` on `controls` with their `weights`, its knots spread evenly and
// clamped at both ends. Empty when there are fewer control points than the order.
std::vector<Point3> NurbsLines(const std::vector<Point3>& controls,
                               const std::vector<double>& weights, int order, double tolerance);

#endif
