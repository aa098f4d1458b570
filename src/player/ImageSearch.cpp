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
    // A row's worth for telling places apart: its pixels unlike their neighbour two to the left,
    // and unlike the same pixel two rows up.
    std::vector<int> worth(kSide, 0);
    for (int j = 0; j < kSide; ++j) {
        for (int i = 2; i < kSide; ++i) {
            const quint32 here = m_pixels[std::size_t(j * kSide + i)];
            worth[std::size_t(j)] += Differs(here, m_pixels[std::size_t(j * kSide + i - 2)]) ? 2 : 0;
            if (j >= 2)
                worth[std::size_t(j)] += Differs(here, m_pixels[std::size_t((j - 2) * kSide + i)]) ? 1 : 0;
        }
    }
    m_rowOrder.resize(kSide);
    std::iota(m_rowOrder.begin(), m_rowOrder.end(), 0);
    std::stable_sort(m_rowOrder.begin(), m_rowOrder.end(),
                     [&worth](int a, int b) { return worth[std::size_t(a)] > worth[std::size_t(b)]; });
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
    // Most placements lie wholly on the screen and in the area: their compared part is m_known.
    QRect compared = m_known;
    const QRect placed(topLeft, QSize(kSide, kSide));
    if (!area.contains(placed)) {
        const QRect onScreen = placed & WholeScreen();
        if (!area.contains(onScreen))
            return false;
        compared = onScreen.translated(-topLeft) & m_known;
        if (compared.width() * compared.height() < kMinCompared)
            return false;
    }
    const std::size_t areaWidth = std::size_t(areaRect.width());
    const quint32* areaStart = &pixels[std::size_t(topLeft.y() - areaRect.top()) * areaWidth +
                                       std::size_t(topLeft.x() + compared.left() - areaRect.left())];
    const quint32* imageStart = &m_pixels[std::size_t(compared.left())];
    const int width = compared.width();
    int differing = 0;
    for (const int j : m_rowOrder) {
        if (j < compared.top() || j > compared.bottom())
            continue;
        differing +=
            PixelRow::CountDiffering(imageStart + j * kSide, areaStart + std::size_t(j) * areaWidth, width, kTolerance);
        if (differing > kTolerated)
            return false;
    }
    qint64 difference = 0;
    for (int j = compared.top(); j <= compared.bottom(); ++j)
        difference += PixelRow::SumDifference(imageStart + j * kSide, areaStart + std::size_t(j) * areaWidth, width);
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
    const auto take = [&](QPoint topLeft) {
        Match match;
        if (Compare(pixels, areaRect, area, topLeft, match))
            matches.list.push_back(match);
        matches.overflowed = matches.list.size() > kMaxMatches;
        return !matches.overflowed;
    };
    // Placements wholly inside the area: bounded from block sums first, a chunk of a row at a time.
    const int insideWide = area.width() - kSide + 1;
    const int insideHigh = area.height() - kSide + 1;
    if (insideWide > 0 && insideHigh > 0) {
        BlockBound bound(m_pixels, m_known, kTolerance);
        const std::size_t stride = std::size_t(areaRect.width());
        bound.SetArea(
            &pixels[std::size_t(area.top() - areaRect.top()) * stride + std::size_t(area.left() - areaRect.left())],
            stride, area.width(), area.height());
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
                        if (bounds[k] <= kTolerated &&
                            !take(area.topLeft() + QPoint(first + k * BlockBound::kBlock, y)))
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
            if (x <= area.right() && !take(QPoint(x - kHalf, y - kHalf)))
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
