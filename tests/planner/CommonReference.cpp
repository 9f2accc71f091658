#include "CommonReference.h"

#include <QProcess>
#include <QRegularExpression>

#include <snlCtrlPoint.h>
#include <snlCurve.h>

#include <cmath>

namespace {

constexpr int samplesPerCurve = 2000;

// The curve's points by the library, its knots clamped and spread evenly as common G-code's
// NURBS are.
std::vector<Point3> LibraryCurve(const ReferenceCurve& curve)
{
    const int count = int(curve.controls.size());
    // The library owns the arrays it is given.
    auto* points = new snlCtrlPoint[std::size_t(count)];
    for (int i = 0; i < count; ++i) {
        const Point3& p = curve.controls[std::size_t(i)];
        const double w = curve.weights[std::size_t(i)];
        snlPoint weighted(p[0] * w, p[1] * w, p[2] * w, w);
        points[i] = snlCtrlPoint(weighted);
    }
    auto* knots = new knot[std::size_t(count + curve.order)];
    for (int i = 0; i < count + curve.order; ++i)
        knots[i] = std::clamp(i - curve.order + 1, 0, count - curve.order + 1);
    const snlCurve library(curve.order - 1, unsigned(count), points, knots);
    std::vector<Point3> sampled;
    for (int i = 1; i <= samplesPerCurve; ++i) {
        const snlPoint p = library.eval(
            library.minParam() + (library.maxParam() - library.minParam()) * i / samplesPerCurve);
        sampled.push_back({p.x(), p.y(), p.z()});
    }
    return sampled;
}

} // namespace

bool ReferenceMotionOf(const QString& path, const std::vector<ReferenceCurve>& curves,
                       ReferenceMotion& motion, QString& error)
{
    QProcess rs274;
    rs274.start(QStringLiteral("rs274"), {QStringLiteral("-g"), path});
    if (!rs274.waitForFinished(30000) || rs274.exitCode() != 0) {
        error = QStringLiteral("rs274: ") + rs274.errorString() + rs274.readAllStandardError();
        return false;
    }
    const QString output = QString::fromUtf8(rs274.readAllStandardOutput());
    const QRegularExpression call(QStringLiteral("^\\s*\\d+ N\\S+\\s+(\\w+)\\((.*)\\)$"),
                                  QRegularExpression::MultilineOption);
    Point3 at{0, 0, 0};
    double scale = 1;
    int plane[3] = {0, 1, 2}; // first and second axis of the arcs, then the one across
    std::size_t curve = 0;
    motion.points = {at};
    for (auto match = call.globalMatch(output); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QString name = found.captured(1), arguments = found.captured(2);
        std::vector<double> n;
        for (const QString& value : arguments.split(QLatin1Char(',')))
            n.push_back(value.trimmed().toDouble());
        if (name == QLatin1String("USE_LENGTH_UNITS")) {
            scale = arguments.contains(QLatin1String("INCHES")) ? 25.4 : 1;
        } else if (name == QLatin1String("SELECT_PLANE")) {
            const bool xz = arguments.endsWith(QLatin1String("XZ"));
            const bool yz = arguments.endsWith(QLatin1String("YZ"));
            plane[0] = xz ? 2 : yz ? 1 : 0;
            plane[1] = xz ? 0 : yz ? 2 : 1;
            plane[2] = xz ? 1 : yz ? 0 : 2;
        } else if (name == QLatin1String("SET_FEED_RATE")) {
            motion.feeds.push_back(n[0] * scale / 60);
        } else if (name.startsWith(QLatin1String("STRAIGHT_"))) {
            at = {n[0] * scale, n[1] * scale, n[2] * scale};
            motion.points.push_back(at);
        } else if (name == QLatin1String("ARC_FEED")) {
            // first and second end, first and second centre, rotation, the end across.
            const int u = plane[0], v = plane[1], w = plane[2];
            const double cu = n[2] * scale, cv = n[3] * scale;
            const double start = std::atan2(at[std::size_t(v)] - cv, at[std::size_t(u)] - cu);
            const double end = std::atan2(n[1] * scale - cv, n[0] * scale - cu);
            const double r0 = std::hypot(at[std::size_t(u)] - cu, at[std::size_t(v)] - cv);
            const double r1 = std::hypot(n[0] * scale - cu, n[1] * scale - cv);
            const int rotation = int(n[4]);
            double turn = rotation > 0 ? end - start : start - end;
            turn = std::fmod(turn + 4 * M_PI, 2 * M_PI);
            if (turn < 1e-9)
                turn = 2 * M_PI;
            turn += 2 * M_PI * (std::abs(rotation) - 1);
            const double across = at[std::size_t(w)];
            for (int i = 1; i <= samplesPerCurve; ++i) {
                const double share = double(i) / samplesPerCurve;
                const double angle = start + (rotation > 0 ? turn : -turn) * share;
                Point3 p{};
                p[std::size_t(u)] = cu + (r0 + (r1 - r0) * share) * std::cos(angle);
                p[std::size_t(v)] = cv + (r0 + (r1 - r0) * share) * std::sin(angle);
                p[std::size_t(w)] = across + (n[5] * scale - across) * share;
                motion.points.push_back(p);
            }
            at = motion.points.back();
        } else if (name.startsWith(QLatin1String("NURBS_"))) {
            if (curve >= curves.size() || int(curves[curve].controls.size()) != int(n[0])) {
                error = QStringLiteral("rs274's NURBS move %1 has %2 control points")
                            .arg(curve + 1)
                            .arg(n[0]);
                return false;
            }
            for (const Point3& p : LibraryCurve(curves[curve++]))
                motion.points.push_back(p);
            at = motion.points.back();
        }
    }
    if (curve != curves.size()) {
        error = QStringLiteral("rs274 made %1 NURBS moves, not %2").arg(curve).arg(curves.size());
        return false;
    }
    return true;
}
