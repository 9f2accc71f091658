#include "planner/CurveLines.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Curve = std::function<Point3(double)>;

// Halving a piece stops at this depth, where a piece is a millionth of its start.
constexpr int deepestHalving = 20;

// Adds the points of [t0, t1] after t0: a piece whose quarter, middle and three-quarter points
// lie within the tolerance of its chord stays one line, any other is halved.
void AddPiece(const Curve& curve, double t0, const Point3& a, double t1, const Point3& b,
              double tolerance, int depth, std::vector<Point3>& points)
{
    bool straight = depth >= deepestHalving;
    for (int quarter = 1; quarter <= 3 && !straight; ++quarter) {
        if (SquaredDistanceToSegment(curve(t0 + (t1 - t0) * quarter / 4), a, b)
            > tolerance * tolerance)
            break;
        straight = quarter == 3;
    }
    if (straight) {
        points.push_back(b);
        return;
    }
    const double middle = (t0 + t1) / 2;
    const Point3 m = curve(middle);
    AddPiece(curve, t0, a, middle, m, tolerance, depth + 1, points);
    AddPiece(curve, middle, m, t1, b, tolerance, depth + 1, points);
}

// The curve over [t0, t1], first cut into `pieces` even ones so that no bend hides between two
// samples, its last point exactly `end`.
std::vector<Point3> CurvePoints(const Curve& curve, double t0, double t1, int pieces,
                                const Point3& end, double tolerance)
{
    std::vector<Point3> points;
    Point3 a = curve(t0);
    for (int piece = 1; piece <= pieces; ++piece) {
        const double from = t0 + (t1 - t0) * (piece - 1) / pieces;
        const double to = t0 + (t1 - t0) * piece / pieces;
        const Point3 b = curve(to);
        AddPiece(curve, from, a, to, b, tolerance, 0, points);
        a = b;
    }
    points.back() = end;
    return points;
}

} // namespace

double SquaredDistanceToSegment(const Point3& point, const Point3& from, const Point3& to)
{
    double along[3], towards[3];
    double length2 = 0, projection = 0;
    for (int axis = 0; axis < 3; ++axis) {
        along[axis] = to[axis] - from[axis];
        towards[axis] = point[axis] - from[axis];
        length2 += along[axis] * along[axis];
        projection += along[axis] * towards[axis];
    }
    const double share = length2 > 0 ? std::clamp(projection / length2, 0.0, 1.0) : 0;
    double distance2 = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double off = towards[axis] - share * along[axis];
        distance2 += off * off;
    }
    return distance2;
}

std::vector<Point3> ArcLines(const Point3& from, const Point3& to, const Point3& centre,
                             ArcPlane plane, bool clockwise, double tolerance)
{
    const int u = plane.first, v = plane.second, w = plane.across;
    const double startAngle = std::atan2(from[v] - centre[v], from[u] - centre[u]);
    const double endAngle = std::atan2(to[v] - centre[v], to[u] - centre[u]);
    const double startRadius = std::hypot(from[u] - centre[u], from[v] - centre[v]);
    const double endRadius = std::hypot(to[u] - centre[u], to[v] - centre[v]);
    // The turn in (0, 2 pi]: ends that meet make a whole one.
    double turn = clockwise ? startAngle - endAngle : endAngle - startAngle;
    turn = std::fmod(turn + 4 * M_PI, 2 * M_PI);
    if (turn <= 1e-12)
        turn = 2 * M_PI;
    const double radius = std::max(startRadius, endRadius);
    // The chord error of a step of angle a is r (1 - cos(a / 2)).
    const double step = tolerance < radius ? 2 * std::acos(1 - tolerance / radius) : M_PI / 2;
    const int steps = std::clamp(int(std::ceil(turn / step)), 1, 1 << 20);
    std::vector<Point3> points;
    for (int i = 1; i <= steps; ++i) {
        const double share = double(i) / steps;
        const double angle = startAngle + (clockwise ? -turn : turn) * share;
        const double r = startRadius + (endRadius - startRadius) * share;
        Point3 point{};
        point[u] = centre[u] + r * std::cos(angle);
        point[v] = centre[v] + r * std::sin(angle);
        point[w] = from[w] + (to[w] - from[w]) * share;
        points.push_back(point);
    }
    points.back() = to;
    return points;
}

std::vector<Point3> BezierLines(const std::vector<Point3>& controls, double tolerance)
{
    const Curve curve = [&controls](double t) {
        // de Casteljau: the control polygon cut at t, again and again.
        std::vector<Point3> points = controls;
        for (std::size_t level = points.size() - 1; level > 0; --level)
            for (std::size_t i = 0; i < level; ++i)
                for (int axis = 0; axis < 3; ++axis)
                    points[i][axis] += t * (points[i + 1][axis] - points[i][axis]);
        return points.front();
    };
    return CurvePoints(curve, 0, 1, 8, controls.back(), tolerance);
}

std::vector<Point3> NurbsLines(const std::vector<Point3>& controls,
                               const std::vector<double>& weights, int order, double tolerance)
{
    const int count = int(controls.size());
    if (order < 2 || count < order)
        return {};
    // Knots 0 (order times), 1, 2, ..., then count - order + 1 (order times).
    std::vector<double> knots;
    for (int i = 0; i < count + order; ++i)
        knots.push_back(std::clamp(i - order + 1, 0, count - order + 1));
    const int degree = order - 1;
    const Curve curve = [&](double t) {
        int span = degree;
        while (span < count - 1 && t >= knots[std::size_t(span) + 1])
            ++span;
        // de Boor on the weighted points (x w, y w, z w, w).
        std::vector<std::array<double, 4>> d(std::size_t(degree) + 1);
        for (int j = 0; j <= degree; ++j) {
            const std::size_t i = std::size_t(span - degree + j);
            const double weight = weights[i];
            d[std::size_t(j)] = {controls[i][0] * weight, controls[i][1] * weight,
                                 controls[i][2] * weight, weight};
        }
        for (int r = 1; r <= degree; ++r) {
            for (int j = degree; j >= r; --j) {
                const std::size_t i = std::size_t(span - degree + j);
                const double left = knots[i], right = knots[i + std::size_t(degree - r) + 1];
                const double alpha = right > left ? (t - left) / (right - left) : 0;
                for (int k = 0; k < 4; ++k)
                    d[std::size_t(j)][std::size_t(k)]
                        = (1 - alpha) * d[std::size_t(j) - 1][std::size_t(k)]
                          + alpha * d[std::size_t(j)][std::size_t(k)];
            }
        }
        const std::array<double, 4>& p = d[std::size_t(degree)];
        return Point3{p[0] / p[3], p[1] / p[3], p[2] / p[3]};
    };
    return CurvePoints(curve, 0, count - order + 1, 8 * (count - order + 1), controls.back(),
                       tolerance);
}
