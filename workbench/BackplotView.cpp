#include "workbench/BackplotView.h"

#include "workbench/PreviewDrawing.h"
#include "workbench/TranslatedTexts.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

const QColor background(250, 250, 247);
const QColor pathColour(20, 20, 20);
const QColor markColour(220, 40, 30);
const QColor gridColour(228, 228, 222);
const QColor frameColour(90, 90, 90);
const QColor travelColour(200, 40, 40);
// A slice draws pieces of the paths until its time is spent: a slice of a fixed size would hold a
// loaded machine's window up for longer.
constexpr qint64 sliceMs = 15;
constexpr std::size_t pointsPerPiece = 4096;
constexpr std::size_t previewPointsPerPiece = 8192;
constexpr double gridPixels = 40;

} // namespace

BackplotView::BackplotView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(240, 200);
    view = FitView(QRectF(0, 0, 1, 1), size());
    nextSlice.setSingleShot(true);
    connect(&nextSlice, &QTimer::timeout, this, [this] {
        DrawSlices();
        update();
    });
}

QWidget* BackplotView::WithControls()
{
    auto* plane = new QComboBox;
    plane->setObjectName(QStringLiteral("backplotPlane"));
    plane->addItems({QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ")});
    connect(plane, &QComboBox::currentIndexChanged, this,
            [this](int index) { SetPlane(PlotPlane(index)); });
    auto* fit = new QPushButton;
    connect(fit, &QPushButton::clicked, this, &BackplotView::FitToPath);
    auto* clear = new QPushButton;
    connect(clear, &QPushButton::clicked, this, &BackplotView::Clear);
    (new TranslatedTexts(this))->Follow([fit, clear] {
        fit->setText(tr("Zoom to fit"));
        clear->setText(tr("Clear"));
    });

    auto* controls = new QHBoxLayout;
    controls->addWidget(plane);
    controls->addWidget(fit);
    controls->addWidget(clear);
    controls->addStretch();
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(controls);
    layout->addWidget(this, 1);
    return panel;
}

void BackplotView::AddPoints(const std::vector<PathPoint3>& points)
{
    if (points.empty())
        return;
    bool rethinned = false;
    for (const PathPoint3& point : points) {
        extent.Include(point);
        const ThinnedPath::Change change = path.Add(point);
        rethinned = rethinned || change == ThinnedPath::Change::Rethinned;
        // A last point drawn already and now moved on is drawn again, from where the line
        // reached.
        if (change == ThinnedPath::Change::Replaced)
            drawnPoints = std::min(drawnPoints, path.Points().size() - 1);
    }
    if (following && !view.world.contains(*extent.InPlane(plane)))
        FitToPath();
    else if (rethinned)
        RedrawPath();
    else
        DrawSlices();
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
    path.Clear();
    extent = PathExtent();
    preview = PreviewPath();
    following = true;
    RedrawPath();
    update();
}

void BackplotView::SetPreview(PreviewPath path)
{
    preview = std::move(path);
    FitToPath();
}

void BackplotView::SetPlane(PlotPlane newPlane)
{
    plane = newPlane;
    FitToPath();
}

void BackplotView::FitToPath()
{
    following = true;
    const std::optional<QRectF> executed = extent.InPlane(plane);
    const std::optional<QRectF> planned = preview.extent.InPlane(plane);
    const QRectF both = executed && planned
                            ? executed->normalized() | planned->normalized()
                            : executed.value_or(planned.value_or(QRectF(0, 0, 1, 1)));
    SetView(FitView(both, size()));
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
    previewPicture = QImage(size(), QImage::Format_RGB32);
    previewPicture.fill(background);
    {
        QPainter painter(&previewPicture);
        DrawGrid(painter);
    }
    previewDrawn = 0;
    previewLastPixel.reset();
    picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    drawnPoints = 0;
    lastPixel.reset();
    DrawSlices();
}

void BackplotView::DrawSlices()
{
    const auto piecesLeft = [this] {
        return previewDrawn < preview.points.size() || drawnPoints < path.Points().size();
    };
    QElapsedTimer slice;
    slice.start();
    do {
        DrawPreviewPiece();
        DrawNewPoints();
    } while (piecesLeft() && slice.elapsed() < sliceMs);
    if (piecesLeft())
        nextSlice.start(0);
}

// A polyline of the pixels the new points visit: its length follows the pixels, not the points.
void BackplotView::DrawNewPoints()
{
    if (picture.size() != size()) {
        picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
    }
    const std::size_t end = std::min(path.Points().size(), drawnPoints + pointsPerPiece);
    const std::vector<QPoint> pixels
        = DecimatedPolyline(path.Points(), drawnPoints, end, plane, view, lastPixel);
    drawnPoints = end;
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

// The planned path a piece at a time.
void BackplotView::DrawPreviewPiece()
{
    if (previewDrawn >= preview.points.size() || previewPicture.isNull())
        return;
    const std::size_t end = std::min(preview.points.size(), previewDrawn + previewPointsPerPiece);
    DrawPreviewPoints(previewPicture, preview, previewDrawn, end, view, plane, previewLastPixel);
    previewDrawn = end;
}

void BackplotView::DrawGrid(QPainter& painter) const
{
    const double step = GridStep(view, gridPixels);
    painter.setPen(QPen(gridColour, 1));
    const QRectF& world = view.world;
    for (double x = std::ceil(world.left() / step) * step; x <= world.right(); x += step) {
        const int pixel = view.ToPixel(QPointF(x, world.top())).x();
        painter.drawLine(pixel, 0, pixel, height());
    }
    for (double y = std::ceil(world.top() / step) * step; y <= world.bottom(); y += step) {
        const int pixel = view.ToPixel(QPointF(world.left(), y)).y();
        painter.drawLine(0, pixel, width(), pixel);
    }
}

// The program's box, and its width, height and depth.
void BackplotView::DrawPreviewFrame(QPainter& painter) const
{
    const std::optional<QRectF> box = preview.extent.InPlane(plane);
    if (!box || preview.points.empty())
        return;
    const QRect pixels
        = QRect(view.ToPixel(box->topLeft()), view.ToPixel(box->bottomRight())).normalized();
    painter.setPen(QPen(frameColour, 1, Qt::DotLine));
    painter.drawRect(pixels);
    const PathPoint3& low = *preview.extent.Lowest();
    const PathPoint3& high = preview.extent.Highest();
    const QString size = QStringLiteral("%1 x %2 x %3 mm")
                             .arg(high[0] - low[0], 0, 'f', 1)
                             .arg(high[1] - low[1], 0, 'f', 1)
                             .arg(high[2] - low[2], 0, 'f', 1);
    painter.setPen(frameColour);
    painter.drawText(pixels.left(), std::max(12, pixels.top() - 4), size);
}

void BackplotView::SetTravel(const MachineTravel& machineTravel)
{
    travel = machineTravel;
    update();
}

void BackplotView::DrawTravel(QPainter& painter) const
{
    painter.setPen(QPen(travelColour, 1, Qt::DashDotLine));
    for (std::size_t axis = 0; axis < 3; ++axis) {
        for (const double bound : {travel.lowest[axis], travel.highest[axis]}) {
            if (!std::isfinite(bound))
                continue;
            PathPoint3 at{}, further{};
            at[axis] = bound;
            further[axis] = bound + 1;
            const QPointF onPlane = Project(at, plane);
            const QPointF step = Project(further, plane) - onPlane;
            const QPoint pixel = view.ToPixel(onPlane);
            if (step.x() != 0)
                painter.drawLine(pixel.x(), 0, pixel.x(), height());
            else if (step.y() != 0)
                painter.drawLine(0, pixel.y(), width(), pixel.y());
        }
    }
}

// The speeds' colours from 0 to the fastest feed, and the rapid moves' pen.
void BackplotView::DrawLegend(QPainter& painter) const
{
    const int band = 14;
    const QPoint origin(width() - speedBands * band - 12, 8);
    for (int i = 0; i < speedBands; ++i)
        painter.fillRect(origin.x() + i * band, origin.y(), band, 8, SpeedBandColour(i));
    painter.setPen(frameColour);
    const QFontMetrics metrics(font());
    const QString top = QStringLiteral("%1 mm/s").arg(preview.topSpeed, 0, 'f', 0);
    painter.drawText(origin.x(), origin.y() + 20, QStringLiteral("0"));
    painter.drawText(origin.x() + speedBands * band - metrics.horizontalAdvance(top),
                     origin.y() + 20, top);
    painter.setPen(RapidMovePen());
    painter.drawLine(origin.x(), origin.y() + 30, origin.x() + 3 * band, origin.y() + 30);
    painter.setPen(frameColour);
    painter.drawText(origin.x() + 3 * band + 6, origin.y() + 34, tr("rapid"));
}

void BackplotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, previewPicture);
    painter.drawImage(0, 0, picture);
    if (!notice.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, notice);
        return;
    }
    painter.setPen(frameColour);
    painter.drawText(6, height() - 6, tr("grid %1 mm").arg(GridStep(view, gridPixels), 0, 'g', 6));
    DrawTravel(painter);
    if (!preview.points.empty()) {
        DrawPreviewFrame(painter);
        DrawLegend(painter);
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
