#include "player/ImageSearch.h"

#include "player/PixelRow.h"
#include "player/ScreenCheck.h"
#include "tasks/DescriptiveImage.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>

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

int ImageSearch::Differing(const std::vector<quint32>& area, const QRect& areaRect, QPoint topLeft) const
{
    // Most placements lie wholly on the screen and in the area: their compared part is m_known.
    QRect compared = m_known;
    const QRect placed(topLeft, QSize(kSide, kSide));
    if (!areaRect.contains(placed)) {
        const QRect onScreen = placed & WholeScreen();
        if (!areaRect.contains(onScreen))
            return -1;
        compared = onScreen.translated(-topLeft) & m_known;
        if (compared.width() * compared.height() < kMinCompared)
            return -1;
    }
    const std::size_t areaWidth = std::size_t(areaRect.width());
    const quint32* areaStart = &area[std::size_t(topLeft.y() - areaRect.top()) * areaWidth +
                                     std::size_t(topLeft.x() + compared.left() - areaRect.left())];
    const quint32* imageStart = &m_pixels[std::size_t(compared.left())];
    const int top = compared.top();
    const int bottom = compared.bottom();
    const int width = compared.width();
    int differing = 0;
    for (const int j : m_rowOrder) {
        if (j < top || j > bottom)
            continue;
        differing +=
            PixelRow::CountDiffering(imageStart + j * kSide, areaStart + std::size_t(j) * areaWidth, width, kTolerance);
        if (differing > kTolerated)
            break;
    }
    return differing;
}

ImageSearch::Result ImageSearch::Find(const std::vector<quint32>& area, const QRect& areaRect) const
{
    if (m_known.isEmpty() || area.size() != std::size_t(areaRect.width()) * std::size_t(areaRect.height()))
        return {};
    // Placements whose centre is on the screen and within the area: the others never count.
    const QRect centres = areaRect & WholeScreen();
    const QPoint recordedTopLeft = m_point - QPoint(kHalf, kHalf);
    std::vector<Match> matches;
    for (int y = centres.top(); y <= centres.bottom(); ++y) {
        for (int x = centres.left(); x <= centres.right(); ++x) {
            const QPoint topLeft(x - kHalf, y - kHalf);
            const int differing = Differing(area, areaRect, topLeft);
            if (differing < 0 || differing > kTolerated)
                continue;
            matches.push_back({topLeft - recordedTopLeft, differing});
            if (matches.size() > kMaxMatches)
                return Decide(matches, true);
        }
    }
    return Decide(matches, false);
}

ImageSearch::Result ImageSearch::Decide(const std::vector<Match>& matches, bool overflowed) const
{
    if (matches.empty())
        return {};
    // The best place: fewest differing pixels, then nearest the recorded point.
    const auto best = std::min_element(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        const int da = Chebyshev(a.offset, {});
        const int db = Chebyshev(b.offset, {});
        return std::tie(a.differing, da) < std::tie(b.differing, db);
    });
    Result result{Answer::Found, best->offset, best->differing, {}};
    const Match* rival = nullptr;
    for (const Match& match : matches) {
        if (Chebyshev(match.offset, best->offset) > kSamePlace && (!rival || match.differing < rival->differing))
            rival = &match;
    }
    if (overflowed || (rival && rival->differing < best->differing + kRivalMargin)) {
        result.answer = Answer::Ambiguous;
        result.rival = rival ? rival->offset : best->offset;
    }
    return result;
}
