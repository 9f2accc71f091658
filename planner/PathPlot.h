#ifndef KURVO_WORKBENCH_PATHPLOT_H
#define KURVO_WORKBENCH_PATHPLOT_H

#include <QPoint>
#include <QRectF>
#include <QSize>

#include <array>
#include <deque>
#include <optional>
#include <vector>

// The machine's executed path as the backplot keeps it, in millimetres, and the geometry of
// drawing it: which plane, which part of it on which pixels, and how few points do.
using PathPoint3 = std::array<double, 3>; // X, Y, Z
// A path grows by blocks: a million points never move when more come.
using PathPoints = std::deque<PathPoint3>;

enum class PlotPlane { XY, XZ, YZ };

// A point of a program's planned path, as its preview draws it: where (mm), how fast the machine
// went from the point before (mm/s), and whether on a rapid move.
struct PreviewPoint
{
    float x, y, z;
    float speed;
    bool rapid;
};

// The executed path kept within a number of points, whatever the job's length. A point that lies
// within the chord tolerance of the line from the last point kept to the one after it is dropped
// as the points come (at most `longestSkip` in a row, so that each point costs a bounded time);
// when the path still outgrows its capacity, the tolerance doubles and the path is thinned
// again with it.
class ThinnedPath
{
public:
    static constexpr double baseTolerance = 0.005; // mm
    static constexpr std::size_t longestSkip = 8;

    explicit ThinnedPath(std::size_t capacity = 500000);

    // What adding a point did to the points kept.
    enum class Change { Appended, Replaced, Rethinned };
    Change Add(const PathPoint3& point);
    void Clear();

    const PathPoints& Points() const { return points; }
    double Tolerance() const { return tolerance; }

private:
    Change Take(const PathPoint3& point);

    std::size_t capacity;
    double tolerance = baseTolerance;
    PathPoints points;
    std::vector<PathPoint3> skipped; // dropped since the point before the last
};

// The two coordinates of `point` the plane shows, across and up.
QPointF Project(const PathPoint3& point, PlotPlane plane);

// A part of the plane on a widget: `world` (in mm) fills `pixels`, the same scale across and
// up, the plane's up pointing up.
struct PlotView
{
    QRectF world;
    QSize pixels;

    QPoint ToPixel(QPointF point) const;
    QPointF ToWorld(QPointF pixel) const;
};

// The smallest view that shows `bounds` whole with a margin, centred, at one scale for both
// directions; a point or a line gets a view of 1 mm at least.
PlotView FitView(const QRectF& bounds, QSize pixels);
// `factor` above 1 zooms in, keeping the point under `anchor` (a pixel) where it is.
PlotView ZoomView(const PlotView& view, double factor, QPoint anchor);
// Moves the plane with the mouse by `delta` pixels.
PlotView PanView(const PlotView& view, QPoint delta);

// The same scale and upper left corner on a widget of another size.
PlotView ResizeView(const PlotView& view, QSize pixels);

// The distance between grid lines, 1, 2 or 5 times a power of ten millimetres, that puts them
// at least `fewestPixels` apart.
double GridStep(const PlotView& view, double fewestPixels);

// The box the path's points lie in, grown point by point.
class PathExtent
{
public:
    void Include(const PathPoint3& point);
    // The box seen in the plane; nothing before the first point.
    std::optional<QRectF> InPlane(PlotPlane plane) const;
    // The lowest and the highest X, Y and Z; nothing before the first point.
    const std::optional<PathPoint3>& Lowest() const { return lowest; }
    const PathPoint3& Highest() const { return highest; }

private:
    std::optional<PathPoint3> lowest;
    PathPoint3 highest{};
};

// A planned path with what its preview shows beside it: its box, and the fastest feed (mm/s).
struct PreviewPath
{
    std::vector<PreviewPoint> points;
    PathExtent extent;
    double topSpeed = 0;
};
// The fastest feed of the points, rapid moves left out; 1e-3 mm/s at least.
double TopSpeed(const std::vector<PreviewPoint>& points);
// Worked out once, away from the window for a long path; the fastest feed as given, when it is.
PreviewPath Summarised(std::vector<PreviewPoint> points, std::optional<double> topSpeed = {});

// A preview draws its feeds in bands of the fastest, slow ones blue and fast ones red.
constexpr int speedBands = 8;
// The pen of the move that ends at `point`: -1 on a rapid move, else its band, from 0.
int SpeedBand(const PreviewPoint& point, double topSpeed);

// Keeps the points a preview draws the same path with: a point is left out where it lies within
// `tolerance` (mm) of the line from the point kept before to the one after it and its move is
// drawn in the same pen as the next; a straight run keeps its ends only. The ends stay, and so
// does the first point at each side of the box, so that the box stays the very same. In place: a
// million points need no second million.
void ThinPreview(std::vector<PreviewPoint>& points, double topSpeed, double tolerance);
// The planned path as the machine will go it: its first move from where the machine stands
// rather than from where the planner's controller started.
void StartFrom(std::vector<PreviewPoint>& points, const PathPoint3& at);

// The pixels a polyline through path[first, end) visits, one for each run of points that land
// on the same pixel: what a line through them draws, with as many points as the path leaves
// pixels. `previous` continues a polyline drawn before (the pixel it ended on).
std::vector<QPoint> DecimatedPolyline(const PathPoints& path, std::size_t first, std::size_t end,
                                      PlotPlane plane, const PlotView& view,
                                      std::optional<QPoint> previous = std::nullopt);

#endif
