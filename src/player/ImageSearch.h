#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <stop_token>
#include <vector>

// Looks for a task's recorded 51 x 51 image on the screen as it is now, to click at the same place
// within the image where it is found: a window moved by (+150, +80) gets its click moved by as much.
// A placement matches by the screen check's own rule (at most ScreenCheck::kToleratedPixels pixels
// off by more than ScreenCheck::kChannelTolerance in a channel). Among the matches, the one with the
// smallest summed colour difference wins: gradients, shading and anti-aliased edges match
// themselves shifted by a pixel or two within the tolerance, but never as closely. Matches that
// touch each other are one place, which its best one stands for; a place is never guessed: where
// a second place, or a point of the same place farther than kSamePlace, matches about as closely
// (a plain area, a stripe), the answer is Ambiguous.
class ImageSearch
{
public:
    // How far around the expected point the near search looks before the whole screen is read.
    static constexpr int kNearRadius = 300;
    // Points of one place this close (in pixels, either way) to its best one are that point blurred.
    static constexpr int kSamePlace = 3;
    // A match whose summed colour difference from the image is less than this (one level a pixel)
    // above the best one's is about as good.
    static constexpr qint64 kRivalMargin = 51 * 51;
    // A picture that matches at more placements than this cannot name one place.
    static constexpr std::size_t kMaxMatches = std::size_t(1) << 16;

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

    // A placement that passes the rule for "the same".
    struct Match
    {
        QPoint offset;
        int differing = 0;
        qint64 difference = 0; // summed over the channels, scaled to the whole image where part was compared
    };
    struct Matches
    {
        std::vector<Match> list;
        bool overflowed = false; // more than kMaxMatches: the list stopped there
    };

    // `recorded`: the task's image decoded (51 x 51), centred on the recorded point. Pixels of it
    // that lie off `screen` (the screen's size now) were off the screen when it was recorded too,
    // and are not compared.
    ImageSearch(const QImage& recorded, QPoint point, QSize screen);

    // The rectangle a near search reads: every placement whose centre lies within kNearRadius of
    // the recorded point or of the point moved by `expected`, on the screen.
    QRect NearArea(QPoint expected) const;
    QRect WholeScreen() const { return QRect(QPoint(0, 0), m_screen); }
    // Whether a search of `area` looks at the placement `offset` away from the recorded one: its
    // centre lies in the area, and so does all of it that lies on the screen.
    bool Covers(const QRect& area, QPoint offset) const;

    // The matches among the placements that a search of `area` looks at, given the pixels of
    // `areaRect` (which holds `area`), row by row as Desktop::PixelBlock gives them. At least half
    // of the image must be compared at a placement. A stop request ends the search early.
    Matches Collect(const std::vector<quint32>& pixels, const QRect& areaRect, const QRect& area,
                    std::stop_token stop = {}) const;
    // The answer the matches give; equal ones go to the one nearest `preferred`.
    Result Decide(const Matches& matches, QPoint preferred = {}) const;
    Result Find(const std::vector<quint32>& area, const QRect& areaRect, QPoint preferred = {}) const
    {
        return Decide(Collect(area, areaRect, areaRect), preferred);
    }

private:
    // Compares the placement with top left `topLeft` (screen coordinates), part of it off the
    // screen or in the area; false where it does not count or differs in too many pixels.
    bool Compare(const std::vector<quint32>& pixels, const QRect& areaRect, const QRect& area, QPoint topLeft,
                 Match& match) const;
    // Compares the `compared` part of the image with the pixels from `start` on (its top left
    // column, rows `stride` apart).
    bool CompareRows(const quint32* start, std::size_t stride, const QRect& compared, QPoint topLeft,
                     Match& match) const;

    QPoint m_point;
    QSize m_screen;
    // The image in desktop colours (red in the low byte), row by row.
    std::vector<quint32> m_pixels;
    // The part of the image that was on the screen, in image coordinates.
    QRect m_known;
    // Rows in the order they are compared: the ones most unlike their surroundings first, so that a
    // placement that does not match is given up after a few rows.
    std::vector<int> m_rowOrder;
    // Runs of eight pixels in the known part (their first pixel), in the order they are compared
    // before whole rows, to give up sooner.
    std::vector<QPoint> m_runs;
};
