#ifndef KURVO_WORKBENCH_PREVIEWDRAWING_H
#define KURVO_WORKBENCH_PREVIEWDRAWING_H

#include "planner/PathPlot.h"

#include <QColor>
#include <QImage>
#include <QPen>
#include <QPoint>

#include <cstddef>
#include <optional>

// The colour of a preview's feed moves in `band`: slow feeds blue, fast ones red.
QColor SpeedBandColour(int band);
// The pen of a preview's rapid moves: dashed grey.
QPen RapidMovePen();

// Draws points [from, end) of `preview` into `picture`, of 32 bits a pixel, as `view` shows them
// in `plane`: rapid moves dashed, and over them each feed move a line in its band's colour. The
// first move starts at `last`, the pixel the points before ended at, which it then moves on.
void DrawPreviewPoints(QImage& picture, const PreviewPath& preview, std::size_t from,
                       std::size_t end, const PlotView& view, PlotPlane plane,
                       std::optional<QPoint>& last);

#endif
