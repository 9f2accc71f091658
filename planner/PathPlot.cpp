#include "planner/PathPlot.h"

#include "planner/CurveLines.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double margin = 0.05;
constexpr double smallestSpanMm = 1;

} // namespace

QPointF Project(const PathPoint3& point, PlotPlane plane)
{
    switch (plane) {
    case PlotPlane::XZ:
        return {point[0], point[2]};
    case PlotPlane::YZ:
        return {point[1], point[2]};
    case PlotPlane::XY:
        break;
    }
    return {point[0], point[1]};
}

QPoint PlotView::ToPixel(QPointF point) const
{
    const double scale = pixels.width() / world.width();
    const double x = (point.x() - world.left()) * scale;
    const double y = (world.bottom() - point.y()) * scale;
    // Far outside the widget a pixel needs no precision, only to stay outside.
    const double limit = 1e6;
    return {int(std::floor(std::clamp(x, -limit, limit))),
            int(std::floor(std::clamp(y, -limit, limit)))};
}

QPointF PlotView::ToWorld(QPointF pixel) const
{
    const double scale = world.width() / pixels.width();
    return {world.left() + pixel.x() * scale, world.bottom() - pixel.y() * scale};
}

PlotView FitView(const QRectF& bounds, QSize pixels)
{
    const QSize size(std::max(1, pixels.width()), std::max(1, pixels.height()));
    const double width = std::max(bounds.width(), smallestSpanMm) * (1 + 2 * margin);
    const double height = std::max(bounds.height(), smallestSpanMm) * (1 + 2 * margin);
    const double scale = std::min(size.width() / width, size.height() / height);
    const QSizeF shown(size.width() / scale, size.height() / scale);
    QRectF world(QPointF(), shown);
    world.moveCenter(bounds.center());
    return {world, size};
}

PlotView ZoomView(const PlotView& view, double factor, QPoint anchor)
{
    const QPointF fixed = view.ToWorld(anchor);
    const QSizeF size = view.world.size() / factor;
    const double left = fixed.x() - (fixed.x() - view.world.left()) / factor;
    const double bottom = fixed.y() - (fixed.y() - view.world.bottom()) / factor;
    return {QRectF(left, bottom - size.height(), size.width(), size.height()), view.pixels};
}

PlotView PanView(const PlotView& view, QPoint delta)
{
    const double scale = view.world.width() / view.pixels.width();
    return {view.world.translated(-delta.x() * scale, delta.y() * scale), view.pixels};
}

PlotView ResizeView(const PlotView& view, QSize pixels)
{
    const QSize size(std::max(1, pixels.width()), std::max(1, pixels.height()));
    const double scale = view.world.width() / view.pixels.width();
    const QSizeF shown(size.width() * scale, size.height() * scale);
    return {QRectF(QPointF(view.world.left(), view.world.bottom() - shown.height()), shown), size};
}

ThinnedPath::ThinnedPath(std::size_t pathCapacity)
    : capacity(std::max<std::size_t>(pathCapacity, 2))
{}

// Over its capacity, the path is thinned again at twice the tolerance; a path that does not
// shrink to half its capacity so (points too far apart for any tolerance the skips allow) keeps
// every other point, so that the bound holds whatever comes.
ThinnedPath::Change ThinnedPath::Add(const PathPoint3& point)
{
    const Change change = Take(point);
    if (points.size() <= capacity)
        return change;
    tolerance *= 2;
    PathPoints kept;
    kept.swap(points);
    skipped.clear();
    for (const PathPoint3& again : kept)
        Take(again);
    if (points.size() > capacity / 2) {
        kept.clear();
        for (std::size_t index = 0; index < points.size(); index += 2)
            kept.push_back(points[index]);
        if (points.size() % 2 == 0)
            kept.push_back(points.back());
        points.swap(kept);
        skipped.clear();
    }
    return Change::Rethinned;
}

ThinnedPath::Change ThinnedPath::Take(const PathPoint3& point)
{
    if (points.size() >= 2 && skipped.size() < longestSkip) {
        const PathPoint3& anchor = points[points.size() - 2];
        const double reach = tolerance * tolerance;
        const auto near = [&](const PathPoint3& between) {
            return SquaredDistanceToSegment(between, anchor, point) <= reach;
        };
        if (near(points.back()) && std::all_of(skipped.begin(), skipped.end(), near)) {
            skipped.push_back(points.back());
            points.back() = point;
            return Change::Replaced;
        }
    }
    skipped.clear();
    points.push_back(point);
    return Change::Appended;
}

void ThinnedPath::Clear()
{
    points.clear();
    skipped.clear();
    tolerance = baseTolerance;
}

void StartFrom(std::vector<PreviewPoint>& points, const PathPoint3& at)
{
    if (points.empty())
        return;
    points.front().x = float(at[0]);
    points.front().y = float(at[1]);
    points.front().z = float(at[2]);
}

double TopSpeed(const std::vector<PreviewPoint>& points)
{
    double top = 1e-3;
    for (const PreviewPoint& point : points) {
        if (!point.rapid)
            top = std::max(top, double(point.speed));
    }
    return top;
}

PreviewPath Summarised(std::vector<PreviewPoint> points, std::optional<double> topSpeed)
{
    PreviewPath path;
    path.topSpeed = topSpeed ? *topSpeed : TopSpeed(points);
    path.points = std::move(points);
    for (const PreviewPoint& point : path.points)
        path.extent.Include({point.x, point.y, point.z});
    return path;
}

int SpeedBand(const PreviewPoint& point, double topSpeed)
{
    if (point.rapid)
        return -1;
    return std::clamp(int(point.speed / topSpeed * speedBands), 0, speedBands - 1);
}

void ThinPreview(std::vector<PreviewPoint>& points, double topSpeed, double tolerance)
{
    // Each point looked at costs at most this many distances.
    constexpr std::size_t longestRun = 256;
    if (points.size() < 3)
        return;
    const auto at = [&points](std::size_t index) {
        const PreviewPoint& point = points[index];
        return Point3{point.x, point.y, point.z};
    };
    // The first point is where the planner's controller started: the workbench moves it to where
    // the machine stands, so the box is that of the others.
    PathExtent box;
    for (std::size_t index = 1; index < points.size(); ++index)
        box.Include(at(index));
    std::array<bool, 6> boundKept{};
    const auto bounds = [&box, &boundKept](const Point3& point) {
        bool first = false;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            for (const std::size_t side : {axis, axis + 3}) {
                const double bound = side < 3 ? (*box.Lowest())[axis] : box.Highest()[axis];
                if (point[axis] == bound && !boundKept[side])
                    first = boundKept[side] = true;
            }
        }
        return first;
    };
    const double reach = tolerance * tolerance;
    // Kept points move to the front: each lands at or before its own place, on points no longer
    // looked at.
    std::size_t keptCount = 1;
    std::size_t anchor = 0;
    for (std::size_t index = 1; index + 1 < points.size(); ++index) {
        const std::size_t next = index + 1;
        bool dropped = !bounds(at(index)) && next - anchor <= longestRun
                       && SpeedBand(points[index], topSpeed) == SpeedBand(points[next], topSpeed);
        for (std::size_t between = anchor + 1; dropped && between <= index; ++between)
            dropped = SquaredDistanceToSegment(at(between), at(anchor), at(next)) <= reach;
        if (!dropped) {
            points[keptCount++] = points[index];
            anchor = index;
        }
    }
    points[keptCount++] = points.back();
    points.resize(keptCount);
}

double GridStep(const PlotView& view, double fewestPixels)
{
    const double pixelsPerMm = view.pixels.width() / std::max(view.world.width(), 1e-12);
    const double wanted = fewestPixels / pixelsPerMm;
    const double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * decade >= wanted * (1 - 1e-12))
            return step * decade;
    }
    return 10 * decade;
}

void PathExtent::Include(const PathPoint3& point)
{
    if (!lowest) {
        lowest = point;
        highest = point;
        return;
    }
    for (std::size_t axis = 0; axis < point.size(); ++axis) {
        (*lowest)[axis] = std::min((*lowest)[axis], point[axis]);
        highest[axis] = std::max(highest[axis], point[axis]);
    }
}

std::optional<QRectF> PathExtent::InPlane(PlotPlane plane) const
{
    if (!lowest)
        return std::nullopt;
    return QRectF(Project(*lowest, plane), Project(highest, plane));
}

std::vector<QPoint> DecimatedPolyline(const PathPoints& path, std::size_t first, std::size_t end,
                                      PlotPlane plane, const PlotView& view,
                                      std::optional<QPoint> previous)
{
    std::vector<QPoint> pixels;
    if (previous)
        pixels.push_back(*previous);
    for (std::size_t i = first; i < std::min(end, path.size()); ++i) {
        const QPoint pixel = view.ToPixel(Project(path[i], plane));
        if (pixels.empty() || pixel != pixels.back())
            pixels.push_back(pixel);
    }
    return pixels;
}
