#include "player/ImageSearch.h"

#include "player/BlockBound.h"
#include "player/PixelRow.h"
#include "player/ScreenCheck.h"
#include "tasks/DescriptiveImage.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>
#include <unordered_set>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kHalf = kSide / 2;
constexpr int kTolerance = ScreenCheck::kChannelTolerance;
constexpr int kTolerated = ScreenCheck::kToleratedPixels;
// Half of the image at least is compared at a placement, however much of it lies off the screen.
constexpr int kMinCompared = (kSide * kSide + 1) / 2;
// The pixels one vector instruction compares.
constexpr int kRun = 8;

bool Differs(quint32 a, quint32 b)
{
    return PixelRow::CountDiffering(&a, &b, 1, kTolerance) != 0;
}

int Chebyshev(QPoint a, QPoint b)
{
    return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}
} // namespace

ImageSearch::ImageSearch(const QImage& recorded, QPoint point, QSize screen)
    : m_point(point), m_screen(screen), m_pixels(std::size_t(kSide * kSide), 0),
      m_known(QRect(QPoint(0, 0), screen).translated(kHalf - point.x(), kHalf - point.y()) & QRect(0, 0, kSide, kSide))
{
    const bool whole = recorded.width() == kSide && recorded.height() == kSide;
    for (int j = 0; j < kSide && whole; ++j) {
        for (int i = 0; i < kSide; ++i) {
            const QRgb colour = recorded.pixel(i, j);
            m_pixels[std::size_t(j * kSide + i)] =
                quint32(qRed(colour)) | quint32(qGreen(colour)) << 8 | quint32(qBlue(colour)) << 16;
        }
    }
    if (!whole)
        m_known = QRect();
    // A pixel's worth for telling places apart: unlike its neighbour two to the left, and unlike
    // the same pixel two rows up. Rows and runs of eight pixels are compared the worthiest first.
    std::vector<int> worth(std::size_t(kSide * kSide), 0);
    for (int j = 0; j < kSide; ++j) {
        for (int i = 2; i < kSide; ++i) {
            const std::size_t at = std::size_t(j * kSide + i);
            worth[at] = (Differs(m_pixels[at], m_pixels[at - 2]) ? 2 : 0) +
                        (j >= 2 && Differs(m_pixels[at], m_pixels[at - 2 * kSide]) ? 1 : 0);
        }
    }
    const auto worthOf = [&worth](int i, int j, int count) {
        return std::accumulate(worth.begin() + j * kSide + i, worth.begin() + j * kSide + i + count, 0);
    };
    std::vector<std::pair<int, QPoint>> runs;
    for (int j = m_known.top(); j <= m_known.bottom(); ++j) {
        for (int i = m_known.left(); i + kRun <= m_known.right() + 1; i += kRun)
            runs.emplace_back(worthOf(i, j, kRun), QPoint(i, j));
    }
    std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& run : runs)
        m_runs.push_back(run.second);
    m_rowOrder.resize(kSide);
    std::iota(m_rowOrder.begin(), m_rowOrder.end(), 0);
    std::stable_sort(m_rowOrder.begin(), m_rowOrder.end(),
                     [&worthOf](int a, int b) { return worthOf(0, a, kSide) > worthOf(0, b, kSide); });
}

QRect ImageSearch::NearArea(QPoint expected) const
{
    const QRect centres = QRect(m_point, m_point + expected).normalized();
    const int reach = kNearRadius + kHalf;
    return centres.adjusted(-reach, -reach, reach, reach) & WholeScreen();
}

bool ImageSearch::Covers(const QRect& area, QPoint offset) const
{
    const QRect placed(m_point + offset - QPoint(kHalf, kHalf), QSize(kSide, kSide));
    return area.contains(placed.center()) && area.contains(placed & WholeScreen());
}

bool ImageSearch::Compare(const std::vector<quint32>& pixels, const QRect& areaRect, const QRect& area, QPoint topLeft,
                          Match& match) const
{
    // A placement part of which lies off the screen is compared where it is on it.
    const int left = std::max(topLeft.x(), 0);
    const int top = std::max(topLeft.y(), 0);
    const int right = std::min(topLeft.x() + kSide, m_screen.width()) - 1;
    const int bottom = std::min(topLeft.y() + kSide, m_screen.height()) - 1;
    if (left < area.left() || top < area.top() || right > area.right() || bottom > area.bottom())
        return false;
    const QRect compared = QRect(QPoint(left, top), QPoint(right, bottom)).translated(-topLeft) & m_known;
    if (compared.width() * compared.height() < kMinCompared)
        return false;
    const std::size_t stride = std::size_t(areaRect.width());
    const quint32* start = &pixels[std::size_t(topLeft.y() - areaRect.top()) * stride +
                                   std::size_t(topLeft.x() + compared.left() - areaRect.left())];
    return CompareRows(start, stride, compared, topLeft, match);
}

bool ImageSearch::CompareRows(const quint32* start, std::size_t stride, const QRect& compared, QPoint topLeft,
                              Match& match) const
{
    const quint32* image = &m_pixels[std::size_t(compared.left())];
    const int width = compared.width();
    int differing = 0;
    // Runs of pixels first: a placement that does not match shows it sooner than in whole rows.
    const int left = compared.left();
    const int right = compared.right();
    const int top = compared.top();
    const int bottom = compared.bottom();
    for (const QPoint& run : m_runs) {
        if (run.x() < left || run.x() + kRun - 1 > right || run.y() < top || run.y() > bottom)
            continue;
        differing += PixelRow::CountDiffering(image + run.y() * kSide + run.x() - left,
                                              start + std::size_t(run.y()) * stride + std::size_t(run.x() - left), kRun,
                                              kTolerance);
        if (differing > kTolerated)
            return false;
    }
    differing = 0;
    for (const int j : m_rowOrder) {
        if (j < compared.top() || j > compared.bottom())
            continue;
        differing += PixelRow::CountDiffering(image + j * kSide, start + std::size_t(j) * stride, width, kTolerance);
        if (differing > kTolerated)
            return false;
    }
    qint64 difference = 0;
    for (int j = compared.top(); j <= compared.bottom(); ++j)
        difference += PixelRow::SumDifference(image + j * kSide, start + std::size_t(j) * stride, width);
    const qint64 known = qint64(m_known.width()) * m_known.height();
    const qint64 seen = qint64(width) * compared.height();
    match = {topLeft - (m_point - QPoint(kHalf, kHalf)), differing, (difference * known + seen / 2) / seen};
    return true;
}

ImageSearch::Matches ImageSearch::Collect(const std::vector<quint32>& pixels, const QRect& areaRect,
                                          const QRect& searched, std::stop_token stop) const
{
    Matches matches;
    const QRect area = searched & areaRect & WholeScreen();
    if (m_known.isEmpty() || area.isEmpty() ||
        pixels.size() != std::size_t(areaRect.width()) * std::size_t(areaRect.height()))
        return matches;
    const auto keep = [&](bool matched, const Match& match) {
        if (matched)
            matches.list.push_back(match);
        matches.overflowed = matches.list.size() > kMaxMatches;
        return !matches.overflowed;
    };
    Match match;
    const std::size_t stride = std::size_t(areaRect.width());
    // Placements wholly inside the area: bounded from block sums first, a chunk of a row at a time.
    const int insideWide = area.width() - kSide + 1;
    const int insideHigh = area.height() - kSide + 1;
    if (insideWide > 0 && insideHigh > 0) {
        BlockBound bound(m_pixels, m_known, kTolerance);
        const quint32* origin =
            &pixels[std::size_t(area.top() - areaRect.top()) * stride + std::size_t(area.left() - areaRect.left())];
        bound.SetArea(origin, stride, area.width(), area.height());
        quint16 bounds[BlockBound::kChunk];
        for (int y = 0; y < insideHigh; ++y) {
            if (stop.stop_requested())
                return matches;
            for (int phase = 0; phase < BlockBound::kBlock; ++phase) {
                const int inRow = (insideWide - phase + BlockBound::kBlock - 1) / BlockBound::kBlock;
                for (int k0 = 0; k0 < inRow; k0 += BlockBound::kChunk) {
                    const int count = std::min(BlockBound::kChunk, inRow - k0);
                    const int first = phase + k0 * BlockBound::kBlock;
                    bound.Bounds(first, y, count, kTolerated, bounds);
                    for (int k = 0; k < count; ++k) {
                        if (bounds[k] > kTolerated)
                            continue;
                        const int x = first + k * BlockBound::kBlock;
                        const quint32* start = origin + std::size_t(y) * stride + std::size_t(x + m_known.left());
                        const QPoint topLeft = area.topLeft() + QPoint(x, y);
                        if (!keep(CompareRows(start, stride, m_known, topLeft, match), match))
                            return matches;
                    }
                }
            }
        }
    }
    // The others, whose centre lies in the area, part of them past its edge: they count where that
    // part lies off the screen.
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool rowInside = y - kHalf >= area.top() && y + kHalf <= area.bottom();
        for (int x = area.left(); x <= area.right(); ++x) {
            if (rowInside && x - kHalf >= area.left() && x + kHalf <= area.right())
                x = area.right() - kHalf + 1;
            if (x <= area.right() && !keep(Compare(pixels, areaRect, area, QPoint(x - kHalf, y - kHalf), match), match))
                return matches;
        }
    }
    return matches;
}

ImageSearch::Result ImageSearch::Decide(const Matches& matches, QPoint preferred) const
{
    if (matches.list.empty())
        return {};
    // The best match: the closest colours, then the nearest to the preferred offset.
    const auto rank = [preferred](const Match& match) {
        return std::tuple(match.difference, Chebyshev(match.offset, preferred), Chebyshev(match.offset, {}),
                          match.offset.y(), match.offset.x());
    };
    const Match& best = *std::min_element(matches.list.begin(), matches.list.end(),
                                          [&rank](const Match& a, const Match& b) { return rank(a) < rank(b); });
    Result result{Answer::Found, best.offset, best.differing, {}};
    if (matches.overflowed) {
        result.answer = Answer::Ambiguous;
        result.rival = best.offset;
        return result;
    }
    // Its place: the matches that touch it, those that touch them, and so on.
    const auto key = [](QPoint offset) {
        return (qint64(offset.y()) << 32) ^ quint32(offset.x());
    };
    std::unordered_set<qint64> all;
    for (const Match& match : matches.list)
        all.insert(key(match.offset));
    std::unordered_set<qint64> place{key(best.offset)};
    std::vector<QPoint> frontier{best.offset};
    while (!frontier.empty()) {
        const QPoint at = frontier.back();
        frontier.pop_back();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint next = at + QPoint(dx, dy);
                if (all.contains(key(next)) && place.insert(key(next)).second)
                    frontier.push_back(next);
            }
        }
    }
    // About as close elsewhere: in another place, or far across the same one (a plain area).
    const Match* rival = nullptr;
    for (const Match& match : matches.list) {
        const bool blurred = place.contains(key(match.offset)) && Chebyshev(match.offset, best.offset) <= kSamePlace;
        if (!blurred && match.difference < best.difference + kRivalMargin &&
            (!rival || match.difference < rival->difference))
            rival = &match;
    }
    if (rival) {
        result.answer = Answer::Ambiguous;
        result.rival = rival->offset;
    }
    return result;
}
