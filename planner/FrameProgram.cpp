#include "planner/FrameProgram.h"

#include "planner/HostConfig.h"
#include "planner/ProgramNumber.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace {

double Cross(const QPointF& origin, const QPointF& a, const QPointF& b)
{
    return (a.x() - origin.x()) * (b.y() - origin.y())
           - (a.y() - origin.y()) * (b.x() - origin.x());
}

// Andrew's monotone chain: the hull anticlockwise from the lowest-left point, collinear points
// left out.
std::vector<QPointF> ConvexHull(std::vector<QPointF> points)
{
    std::sort(points.begin(), points.end(), [](const QPointF& a, const QPointF& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    std::vector<QPointF> hull(2 * points.size());
    std::size_t size = 0;
    for (const QPointF& point : points) {
        while (size >= 2 && Cross(hull[size - 2], hull[size - 1], point) <= 0)
            --size;
        hull[size++] = point;
    }
    const std::size_t lower = size + 1;
    for (auto point = points.rbegin() + 1; point != points.rend(); ++point) {
        while (size >= lower && Cross(hull[size - 2], hull[size - 1], *point) <= 0)
            --size;
        hull[size++] = *point;
    }
    hull.resize(size - 1);
    return hull;
}

} // namespace

bool FrameMotion::Read(const QString& configPath, FrameMotion& motion, QString& error)
{
    motion = FrameMotion();
    if (configPath.isEmpty())
        return true;
    const QSettings file(configPath, QSettings::IniFormat);
    CheckedSettings settings(file, configPath);
    settings.readReal(QStringLiteral("frame/feed"), 0.001, 1e6, motion.feed);
    settings.readReal(QStringLiteral("frame/acceleration"), 0.001, 1e9, motion.acceleration);
    error = settings.Error();
    return settings.ok();
}

std::vector<QPointF> FrameCorners(const std::vector<PreviewPoint>& planned,
                                  const std::array<double, 3>& originMm, FrameShape shape)
{
    std::vector<QPointF> cut;
    for (std::size_t index = 1; index < planned.size(); ++index) {
        if (planned[index].rapid)
            continue;
        // A feed move's both ends: the point before it is where it began.
        for (const PreviewPoint& point : {planned[index - 1], planned[index]})
            cut.emplace_back(point.x - originMm[0], point.y - originMm[1]);
    }
    if (cut.empty())
        return {};
    if (shape == FrameShape::Outline)
        return ConvexHull(std::move(cut));
    const auto [left, right] = std::minmax_element(
        cut.begin(), cut.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    const auto [bottom, top] = std::minmax_element(
        cut.begin(), cut.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    return {{left->x(), bottom->y()},
            {right->x(), bottom->y()},
            {right->x(), top->y()},
            {left->x(), top->y()}};
}

QString FrameProgramText(const std::vector<QPointF>& corners, const FrameMotion& motion,
                         const QString& framed)
{
    const auto at = [](const QPointF& corner) {
        return QStringLiteral("X%1 Y%2").arg(ProgramNumber(corner.x()), ProgramNumber(corner.y()));
    };
    const QString feed = ProgramNumber(motion.feed),
                  acceleration = ProgramNumber(motion.acceleration);
    QStringList lines{
        QStringLiteral("(Frame of %1, the laser off)").arg(QFileInfo(framed).fileName()),
        QStringLiteral("H0")};
    if (corners.empty())
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    lines << QStringLiteral("G00 %1 EF%2 ED%3").arg(at(corners.front()), feed, acceleration);
    for (std::size_t index = 1; index <= corners.size(); ++index) {
        const QString to = at(corners[index % corners.size()]);
        lines << (index == 1 ? QStringLiteral("G01 %1 F%2 D%3").arg(to, feed, acceleration) : to);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
