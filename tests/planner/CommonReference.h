#ifndef KURVO_TESTS_COMMONREFERENCE_H
#define KURVO_TESTS_COMMONREFERENCE_H

#include "planner/CurveLines.h"

#include <QString>

#include <vector>

// The motion another interpreter of common G-code makes of a program: the canonical moves of
// LinuxCNC's standalone rs274, its arcs followed closely, and its NURBS moves (of which it
// tells only the count of control points) evaluated by the Simple NURBS Library.
struct ReferenceCurve
{
    std::vector<Point3> controls; // the first where the curve starts
    std::vector<double> weights;
    int order;
};

struct ReferenceMotion
{
    std::vector<Point3> points; // mm, in order, close enough to follow the path by lines
    std::vector<double> feeds;  // mm/s, each feed rate set
};

// Runs rs274 on the program at `path`; its NURBS moves take `curves` in turn. False with
// `error` set when rs274 cannot run or its moves do not fit the curves given.
bool ReferenceMotionOf(const QString& path, const std::vector<ReferenceCurve>& curves,
                       ReferenceMotion& motion, QString& error);

#endif
