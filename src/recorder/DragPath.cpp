#include "recorder/DragPath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace DragPath {
namespace {

using Point3 = std::array<double, 3>;

// The distance from p to the segment from a to b.
double DistanceToSegment(const Point3& p, const Point3& a, const Point3& b)
{
    Point3 ab{};
    Point3 ap{};
    double length2 = 0;
    double along = 0;
    for (int i = 0; i < 3; ++i) {
        ab[i] = b[i] - a[i];
        ap[i] = p[i] - a[i];
        length2 += ab[i] * ab[i];
        along += ab[i] * ap[i];
    }
    const double t = length2 > 0 ? std::clamp(along / length2, 0.0, 1.0) : 0.0;
    double distance2 = 0;
    for (int i = 0; i < 3; ++i)
        distance2 += (ap[i] - t * ab[i]) * (ap[i] - t * ab[i]);
    return std::sqrt(distance2);
}

// Ramer-Douglas-Peucker without recursion: a deep path cannot exhaust the stack.
std::vector<bool> KeptPoints(const std::vector<Point3>& points)
{
    std::vector<bool> kept(points.size(), false);
    kept.front() = kept.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, points.size() - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        double farthest = 0;
        std::size_t at = first;
        for (std::size_t i = first + 1; i < last; ++i) {
            const double distance = DistanceToSegment(points[i], points[first], points[last]);
            if (distance > farthest)
                farthest = distance, at = i;
        }
        if (farthest <= kTolerance)
            continue;
        kept[at] = true;
        spans.push_back({first, at});
        spans.push_back({at, last});
    }
    return kept;
}

// Milliseconds from one moment of the desktop's clock to a later one; the clock wraps, a difference does not.
int Since(quint32 earlier, quint32 later)
{
    return std::clamp(int(qint32(later - earlier)), 0, InputTask::kMaxPathGapMs);
}

} // namespace

std::vector<InputTask::PathPoint> Simplify(QPoint pressAt, quint32 pressTime, const std::vector<PointerMove>& moves)
{
    if (moves.empty())
        return {};
    std::vector<Point3> points{{double(pressAt.x()), double(pressAt.y()), 0.0}};
    for (const PointerMove& move : moves)
        points.push_back({double(move.x), double(move.y), Since(pressTime, move.time) * kPixelsPerMs});
    std::vector<bool> kept = KeptPoints(points);
    kept[1] = true;
    std::vector<InputTask::PathPoint> path;
    quint32 before = pressTime;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (!kept[i])
            continue;
        const PointerMove& move = moves[i - 1];
        path.push_back({std::clamp(move.x, 0, InputTask::kMaxCoordinate),
                        std::clamp(move.y, 0, InputTask::kMaxCoordinate), Since(before, move.time)});
        before = move.time;
    }
    return path;
}

} // namespace DragPath
