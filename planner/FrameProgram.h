#ifndef KURVO_PLANNER_FRAMEPROGRAM_H
#define KURVO_PLANNER_FRAMEPROGRAM_H

#include "planner/PathPlot.h"

#include <QPointF>
#include <QString>

#include <array>
#include <vector>

// What the frame traces around a program's cut: its box, or its outline (the convex hull of its
// feed moves).
enum class FrameShape { Box, Outline };

// How the frame moves: at the operator's feed and acceleration, in XY, the laser off.
struct FrameMotion
{
    double feed = 50;          // mm/s
    double acceleration = 500; // mm/s^2

    // The group "frame" of the host configuration (feed, acceleration); false with `error` set
    // when a value is out of its range.
    static bool Read(const QString& configPath, FrameMotion& motion, QString& error);
};

// The corners the frame goes round, anticlockwise from the lowest-left, in the program's
// coordinates: the planned path's feed moves (machine coordinates, `originMm` from the
// program's). Nothing when the program cuts nothing.
std::vector<QPointF> FrameCorners(const std::vector<PreviewPoint>& planned,
                                  const std::array<double, 3>& originMm, FrameShape shape);

// The frame as a program of the dialect: a note naming the program it frames, the laser off, a
// rapid to the first corner, then round the corners back to it.
QString FrameProgramText(const std::vector<QPointF>& corners, const FrameMotion& motion,
                         const QString& framed);

#endif
