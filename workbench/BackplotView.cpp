#include "BackplotView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

const QColor background(250, 250, 247);
const QColor pathColour(20, 90, 180);
const QColor markColour(220, 40, 30);
constexpr std::size_t pointsPerSlice = 100000;

} // namespace

BackplotView::BackplotView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(240, 200);
    view = FitView(QRectF(0, 0, 1, 1), size());
    nextSlice.setSingleShot(true);
    connect(&nextSlice, &QTimer::timeout, this, [this] {
        DrawNewPoints();
        update();
    });
}

void BackplotView::AddPoints(const std::vector<PathPoint3>& points)
{
    if (points.empty())
        return;
    path.insert(path.end(), points.begin(), points.end());
    for (const PathPoint3& point : points)
        extent.Include(point);
    if (following && !view.world.contains(*extent.InPlane(plane)))
        FitToPath();
    else
        DrawNewPoints();
    update();
}

void BackplotView::SetCurrentPosition(std::optional<PathPoint3> position)
{
    if (position == current)
        return;
    current = position;
    update();
}

void BackplotView::Clear()
{
    path.clear();
    extent = PathExtent();
    current.reset();
    following = true;
    RedrawPath();
    update();
}

void BackplotView::SetPlane(PlotPlane newPlane)
{
    plane = newPlane;
    FitToPath();
}

void BackplotView::FitToPath()
{
    following = true;
    SetView(FitView(extent.InPlane(plane).value_or(QRectF(0, 0, 1, 1)), size()));
}

void BackplotView::SetNotice(const QString& text)
{
    notice = text;
    update();
}

void BackplotView::SetView(const PlotView& newView)
{
    view = newView;
    RedrawPath();
    update();
}

void BackplotView::RedrawPath()
{
    picture = QImage(size(), QImage::Format_RGB32);
    picture.fill(background);
    drawnPoints = 0;
    lastPixel.reset();
    DrawNewPoints();
}

// A polyline of the pixels the new points visit: its length follows the pixels, not the points.
void BackplotView::DrawNewPoints()
{
    if (picture.size() != size())
        picture = QImage(size(), QImage::Format_RGB32);
    const std::size_t end = std::min(path.size(), drawnPoints + pointsPerSlice);
    const std::vector<QPoint> pixels
        = DecimatedPolyline(path, drawnPoints, end, plane, view, lastPixel);
    drawnPoints = end;
    if (drawnPoints < path.size())
        nextSlice.start(0);
    if (pixels.empty())
        return;
    QPainter painter(&picture);
    painter.setPen(QPen(pathColour, 1));
    if (pixels.size() == 1)
        painter.drawPoint(pixels.front());
    else
        painter.drawPolyline(pixels.data(), int(pixels.size()));
    lastPixel = pixels.back();
}

void BackplotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
    if (!notice.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, notice);
        return;
    }
    if (current) {
        const QPoint mark = view.ToPixel(Project(*current, plane));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(markColour, 2));
        painter.drawEllipse(mark, 5, 5);
        painter.drawLine(mark - QPoint(9, 0), mark + QPoint(9, 0));
        painter.drawLine(mark - QPoint(0, 9), mark + QPoint(0, 9));
    }
}

void BackplotView::resizeEvent(QResizeEvent*)
{
    if (following)
        FitToPath();
    else
        SetView(ResizeView(view, size()));
}

void BackplotView::wheelEvent(QWheelEvent* event)
{
    following = false;
    const double factor = std::pow(1.0015, event->angleDelta().y());
    SetView(ZoomView(view, factor, event->position().toPoint()));
}

void BackplotView::mousePressEvent(QMouseEvent* event)
{
    dragFrom = event->position().toPoint();
}

void BackplotView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    following = false;
    const QPoint at = event->position().toPoint();
    SetView(PanView(view, at - dragFrom));
    dragFrom = at;
}

void BackplotView::mouseDoubleClickEvent(QMouseEvent*)
{
    FitToPath();
}
