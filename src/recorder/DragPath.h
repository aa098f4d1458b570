#pragma once

#include "desktop/Desktop.h"
#include "tasks/InputTask.h"

#include <QPoint>

#include <vector>

// Thins the pointer's moves between a press and its release into the few points of a path task:
// a point is kept where leaving it out would take the path more than kTolerance pixels off the way
// the pointer went, time counted as distance too, so that a stop on the way is kept as well as a
// bend. A straight drag at an even pace keeps its first move, which starts a toolkit's drag, and its
// last one.
namespace DragPath {

inline constexpr double kTolerance = 2.0;
// A millisecond counts as this many pixels: a stop of 40 ms on a straight line is a bend of 2 pixels.
inline constexpr double kPixelsPerMs = 0.05;

// The kept points, each with the milliseconds since the one before it (the first: since the press).
std::vector<InputTask::PathPoint> Simplify(QPoint pressAt, quint32 pressTime, const std::vector<PointerMove>& moves);

} // namespace DragPath
