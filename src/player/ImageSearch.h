#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <vector>

// Looks for a task's recorded 51 x 51 image on the screen as it is now, to click at the same place
// within the image where it is found: a window moved by (+150, +80) gets its click moved by as much.
// A place matches by the screen check's own rule (at most ScreenCheck::kToleratedPixels pixels off
// by more than ScreenCheck::kChannelTolerance in a channel); a place is never guessed: where two
// match about equally well, the answer is Ambiguous.
class ImageSearch
{
public:
    // How far around the expected point the near search looks before the whole screen is read.
    static constexpr int kNearRadius = 300;
    // Matches this close (in pixels, either way) to the best one are the same place found again.
    static constexpr int kSamePlace = 3;
    // A second place that differs from the image in fewer than this many pixels more than the
    // best one makes the two about equally good.
    static constexpr int kRivalMargin = 32;
    // A picture that matches at more placements than this cannot name one place.
    static constexpr std::size_t kMaxMatches = 256;

    enum class Answer
    {
        Found,
        NotFound,
        Ambiguous,
    };

    struct Result
    {
        Answer answer = Answer::NotFound;
        QPoint offset;           // Found: where the image is now minus where it was recorded
        int differingPixels = 0; // Found, Ambiguous: at the best place
        QPoint rival;            // Ambiguous: the offset of a second place as good
    };

    // `recorded`: the task's image decoded (51 x 51), centred on the recorded point. Pixels of it
    // that lie off `screen` (the screen's size now) were off the screen when it was recorded too,
    // and are not compared.
    ImageSearch(const QImage& recorded, QPoint point, QSize screen);

    // The rectangle a near search reads: every placement whose centre lies within kNearRadius of
    // the recorded point or of the point moved by `expected`, on the screen.
    QRect NearArea(QPoint expected) const;
    QRect WholeScreen() const { return QRect(QPoint(0, 0), m_screen); }

    // Looks for the image among the placements that lie within `area` (the pixels of `areaRect`,
    // row by row, as Desktop::PixelBlock gives them) wherever they are on the screen, and whose
    // centre is on the screen. At least half of the image must be compared at a placement.
    Result Find(const std::vector<quint32>& area, const QRect& areaRect) const;

private:
    struct Match
    {
        QPoint offset;
        int differing = 0;
    };

    // Counts the differing pixels at the placement with top left `topLeft` (screen coordinates),
    // giving up past the tolerance; -1 where the placement does not count.
    int Differing(const std::vector<quint32>& area, const QRect& areaRect, QPoint topLeft) const;
    Result Decide(const std::vector<Match>& matches, bool overflowed) const;

    QPoint m_point;
    QSize m_screen;
    // The image in desktop colours (red in the low byte), row by row.
    std::vector<quint32> m_pixels;
    // The part of the image that was on the screen, in image coordinates.
    QRect m_known;
    // Rows in the order they are compared: the ones most unlike their surroundings first, so that a
    // placement that does not match is given up after a few rows.
    std::vector<int> m_rowOrder;
};
