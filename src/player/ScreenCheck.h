#pragma once

#include "player/ImageFinder.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class Desktop;

// What the check saw at a task whose screen never matched its image.
struct ScreenMismatch
{
    int row = 0;
    int x = 0;
    int y = 0;
    qint64 waitedMs = 0;
    int differingPixels = 0;
    QByteArray storedImage; // the task's image text
    QImage current;         // the block as the screen showed it at the last reading
    bool searched = false;  // the image was looked for on the screen too...
    QList<QPoint> alike;    // ... and found at these two points as alike, if it was
};

// Compares the screen around a task's point with the task's descriptive image before the task's
// click, and waits for the two to match: the window the click was recorded on may open late.
class ScreenCheck : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRereadMs = 50;
    // The first re-reads come sooner: a program under the pointer takes a few milliseconds to
    // draw what the pointer's arrival lights up, as the recorded image shows it.
    static constexpr int kEarlyRereadsMs[] = {5, 15};
    // A pixel differs when one of its colour channels is off by more than this, so colours that a
    // screen depth or a fading highlight shifts a little still match...
    static constexpr int kChannelTolerance = 16;
    // ... and a block matches while at most this many of its 2601 pixels differ: room for a
    // blinking caret, far too little for another window or the same one moved.
    static constexpr int kToleratedPixels = 64;

    explicit ScreenCheck(Desktop& desktop, QObject* parent = nullptr);

    // How many pixels of a screen block (51 x 51, row by row, colours as the desktop gives them)
    // differ from a decoded image; every pixel differs in a block of another size.
    static int DifferingPixels(const QImage& stored, const std::vector<quint32>& block);

    // Puts the pointer on (x, y) and compares the block around it with the image once: true when
    // they match. Otherwise a wait begins that re-reads the block every kRereadMs after the early
    // re-reads, the event loop running meanwhile, and ends with matched() or, after waitMs, with
    // gaveUp(). With `findFrom`, the block is compared at (x, y) moved by findFrom first, then at
    // (x, y); one that matches at neither is looked for on the screen by an ImageFinder, off this
    // thread, around both and then everywhere, and again whenever the screen changes: it matches
    // where it is found, FoundOffset() away from (x, y).
    bool Begin(int row, int x, int y, const QByteArray& imageText, qint64 waitMs,
               std::optional<QPoint> findFrom = std::nullopt);
    // Where the image matched, from (x, y), and the block there as the screen showed it.
    QPoint FoundOffset() const { return m_offset; }
    const QImage& FoundImage() const { return m_foundImage; }
    // The message that reports a playback stopped on a screen that never matched.
    static QString StopMessage(const ScreenMismatch& mismatch);
    // One line that tells a script about such a task, skipped or where playback stopped.
    static QString ReportLine(const ScreenMismatch& mismatch, bool skipped);
    // What the end message adds when tasks were skipped.
    static QString SkippedNote(qint64 skippedTasks);
    // The line that tells a script a task was clicked where its image was found, away from its point.
    static QString FoundLine(int row, QPoint offset);
    // What the end message adds when tasks were clicked away from their points.
    static QString FoundNote(qint64 foundTasks);
    // How far from its point a task's image was found, as the preview's tip says it.
    static QString FoundTip(QPoint offset);

    // Ends a wait without a signal.
    void Cancel();
    bool IsWaiting() const { return m_timer.isActive() || m_deadline.isActive(); }

signals:
    void matched();
    void gaveUp(const ScreenMismatch& mismatch);

private:
    // Reads the block once, where the last task was found and at the point; true when it matches.
    bool ReadAndCompare();
    // Reads the block at the task's point moved by `offset`; true when it matches.
    bool MatchesAt(QPoint offset);
    void Reread();
    void Found(const ImageFinder::Report& report);
    // What a look of the finder saw, for the report should the wait end without a match.
    void Looked(const ImageFinder::Report& report);
    void GiveUp();

    Desktop& m_desktop;
    QTimer m_timer;    // the re-reads of a plain wait
    QTimer m_deadline; // the end of a wait for an image looked for
    QElapsedTimer m_waited;
    qint64 m_waitMs = 0;
    std::size_t m_rereads = 0;
    QImage m_stored;
    ScreenMismatch m_last;
    std::vector<quint32> m_lastBlock;
    bool m_find = false;
    ImageFinder m_finder;
    QPoint m_expected;
    QPoint m_offset;
    QImage m_foundImage;
};
