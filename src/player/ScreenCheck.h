#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

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
    // gaveUp().
    bool Begin(int row, int x, int y, const QByteArray& imageText, qint64 waitMs);
    // The message that reports a playback stopped on a screen that never matched.
    static QString StopMessage(const ScreenMismatch& mismatch);
    // One line that tells a script about such a task, skipped or where playback stopped.
    static QString ReportLine(const ScreenMismatch& mismatch, bool skipped);
    // What the end message adds when tasks were skipped.
    static QString SkippedNote(qint64 skippedTasks);

    // Ends a wait without a signal.
    void Cancel();
    bool IsWaiting() const { return m_timer.isActive(); }

signals:
    void matched();
    void gaveUp(const ScreenMismatch& mismatch);

private:
    // Reads the block once; true when it matches.
    bool ReadAndCompare();
    void Reread();

    Desktop& m_desktop;
    QTimer m_timer;
    QElapsedTimer m_waited;
    qint64 m_waitMs = 0;
    std::size_t m_rereads = 0;
    QImage m_stored;
    ScreenMismatch m_last;
    std::vector<quint32> m_lastBlock;
};
