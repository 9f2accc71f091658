#ifndef KURVO_WORKBENCH_BACKPLOTVIEW_H
#define KURVO_WORKBENCH_BACKPLOTVIEW_H

#include "planner/MachineTravel.h"
#include "planner/PathPlot.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

// The executed path in one plane, drawn once into an image and extended as points come in; the
// current position marked. Under it the planned path of the loaded program: rapid moves dashed,
// feed moves coloured by the speed the planner reaches, with a legend, the program's box and its
// size; and a grid with its scale. The wheel zooms about the pointer, dragging pans, a double
// click fits both paths into view.
// A long path is drawn in slices, one an event-loop turn, so that a redraw never holds the
// window up.
class BackplotView : public QWidget
{
    Q_OBJECT

public:
    explicit BackplotView(QWidget* parent = nullptr);

    // A panel of the view under its controls: the plane, "Zoom to fit" and "Clear".
    QWidget* WithControls();

    void AddPoints(const std::vector<PathPoint3>& points);
    void SetCurrentPosition(std::optional<PathPoint3> position);
    const std::optional<PathPoint3>& CurrentPosition() const { return current; }
    // Both paths go; the machine's mark stays where the machine stands.
    void Clear();
    void SetPreview(PreviewPath path);
    void SetPlane(PlotPlane plane);
    void FitToPath();
    // A text shown instead of the path, for when there is no path to show.
    void SetNotice(const QString& text);
    // The machine's travel, drawn as a line at each bound the plane shows.
    void SetTravel(const MachineTravel& machineTravel);

    const PathPoints& Path() const { return path.Points(); }
    // How far the executed path kept may stray from the one executed, mm.
    double PathTolerance() const { return path.Tolerance(); }
    const std::vector<PreviewPoint>& Preview() const { return preview.points; }
    // The top of the legend's speeds: the fastest feed move, mm/s.
    double PreviewTopSpeed() const { return preview.topSpeed; }
    const PlotView& View() const { return view; }
    const QString& Notice() const { return notice; }
    // Whether slices of the path are still to be drawn.
    bool Drawing() const { return nextSlice.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void SetView(const PlotView& newView);
    void RedrawPath();
    void DrawSlices();
    void DrawNewPoints();
    void DrawPreviewPiece();
    void DrawGrid(QPainter& painter) const;
    void DrawPreviewFrame(QPainter& painter) const;
    void DrawTravel(QPainter& painter) const;
    void DrawLegend(QPainter& painter) const;

    ThinnedPath path;
    PathExtent extent;
    PreviewPath preview;
    QImage previewPicture; // the grid and the planned path
    std::size_t previewDrawn = 0;
    std::optional<QPoint> previewLastPixel;
    std::optional<PathPoint3> current;
    PlotPlane plane = PlotPlane::XY;
    PlotView view;
    bool following = true; // fits the view to the path as it grows, until the user zooms or pans
    QTimer nextSlice;
    QImage picture;
    std::size_t drawnPoints = 0;
    std::optional<QPoint> lastPixel;
    QPoint dragFrom;
    QString notice;
    MachineTravel travel;
};

#endif
