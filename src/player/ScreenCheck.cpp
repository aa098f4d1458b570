#include "player/ScreenCheck.h"

#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/DescriptiveImage.h"

#include <QStringList>

#include <cstdlib>
#include <iterator>
#include <limits>

namespace {
constexpr int kSide = DescriptiveImage::kSide;

// A text with the task's row, point and seconds waited for %1 to %4, and then either the pixels
// differing for %5 or, for an image looked for, the two places it was found as alike for %5 to %8.
QString Described(const ScreenMismatch& mismatch, const QString& text)
{
    QString described =
        text.arg(mismatch.row).arg(mismatch.x).arg(mismatch.y).arg(double(mismatch.waitedMs) / 1000.0, 0, 'f', 1);
    if (!mismatch.searched)
        return described.arg(mismatch.differingPixels);
    for (const QPoint& place : mismatch.alike)
        described = described.arg(place.x()).arg(place.y());
    return described;
}

TextId MismatchText(const ScreenMismatch& mismatch, bool line)
{
    if (!mismatch.searched)
        return line ? TextId::MismatchReportLine : TextId::MismatchStopMessage;
    if (mismatch.alike.isEmpty())
        return line ? TextId::NotFoundLine : TextId::NotFoundStopMessage;
    return line ? TextId::AlikeLine : TextId::AlikeStopMessage;
}

// A 51 x 51 block of the screen, row by row in desktop colours; black where the block is short.
QImage BlockImage(const std::vector<quint32>& pixels, const QRect& area, QPoint topLeft)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int j = 0; j < kSide; ++j) {
        for (int i = 0; i < kSide; ++i) {
            const QPoint at = topLeft + QPoint(i, j);
            if (!area.contains(at))
                continue;
            const std::size_t index =
                std::size_t(at.y() - area.top()) * std::size_t(area.width()) + std::size_t(at.x() - area.left());
            if (index < pixels.size())
                image.setPixel(i, j, DescriptiveImage::FromDesktopColour(pixels[index]));
        }
    }
    return image;
}

// How far and which way, as "150 px right, 80 px down".
QString Distance(QPoint offset)
{
    QStringList parts;
    if (offset.x() != 0)
        parts << TextTable::Text(offset.x() > 0 ? TextId::FoundRight : TextId::FoundLeft).arg(std::abs(offset.x()));
    if (offset.y() != 0)
        parts << TextTable::Text(offset.y() > 0 ? TextId::FoundDown : TextId::FoundUp).arg(std::abs(offset.y()));
    return parts.join(QStringLiteral(", "));
}

bool Differs(QRgb a, QRgb b)
{
    constexpr int t = ScreenCheck::kChannelTolerance;
    return std::abs(qRed(a) - qRed(b)) > t || std::abs(qGreen(a) - qGreen(b)) > t || std::abs(qBlue(a) - qBlue(b)) > t;
}
} // namespace

ScreenCheck::ScreenCheck(Desktop& desktop, QObject* parent) : QObject(parent), m_desktop(desktop), m_finder(desktop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScreenCheck::Reread);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ScreenCheck::GiveUp);
    connect(&m_finder, &ImageFinder::found, this, &ScreenCheck::Found);
    connect(&m_finder, &ImageFinder::looked, this, &ScreenCheck::Looked);
}

int ScreenCheck::DifferingPixels(const QImage& stored, const std::vector<quint32>& block)
{
    if (stored.width() != kSide || stored.height() != kSide || block.size() != std::size_t(kSide * kSide))
        return kSide * kSide;
    int differing = 0;
    for (int j = 0; j < kSide; ++j) {
        const auto* line = reinterpret_cast<const QRgb*>(stored.constScanLine(j));
        for (int i = 0; i < kSide; ++i) {
            if (Differs(line[i], DescriptiveImage::FromDesktopColour(block[std::size_t(j * kSide + i)])))
                ++differing;
        }
    }
    return differing;
}

bool ScreenCheck::Begin(int row, int x, int y, const QByteArray& imageText, qint64 waitMs,
                        std::optional<QPoint> findFrom)
{
    Cancel();
    m_stored = DescriptiveImage::Decode(imageText);
    m_last = ScreenMismatch{row, x, y, 0, 0, imageText, {}, findFrom.has_value(), {}};
    m_waitMs = waitMs;
    m_find = findFrom.has_value();
    m_expected = findFrom.value_or(QPoint());
    // The image was taken with the pointer on the point, so whatever the pointer's hover lights up
    // is in it: the screen is read the same way. The pointer itself is never part of a reading.
    m_desktop.MovePointer(x + m_expected.x(), y + m_expected.y());
    if (ReadAndCompare())
        return true;
    m_waited.start();
    if (m_find) {
        m_finder.Start({m_stored, QPoint(x, y), m_expected, m_desktop.ScreenSize()});
        m_deadline.start(int(std::min<qint64>(waitMs, std::numeric_limits<int>::max())));
        return false;
    }
    m_rereads = 0;
    m_timer.start(kEarlyRereadsMs[0]);
    return false;
}

void ScreenCheck::Cancel()
{
    m_timer.stop();
    m_deadline.stop();
    m_finder.Cancel();
}

bool ScreenCheck::ReadAndCompare()
{
    m_offset = QPoint();
    // A window that moved takes all its clicks with it: where the last one was found comes first.
    const QPoint expected = QPoint(m_last.x, m_last.y) + m_expected;
    const bool expectedOnScreen = QRect(QPoint(0, 0), m_desktop.ScreenSize()).contains(expected);
    if (m_find && expectedOnScreen && m_expected != QPoint() && MatchesAt(m_expected)) {
        m_offset = m_expected;
        return true;
    }
    return MatchesAt(QPoint());
}

bool ScreenCheck::MatchesAt(QPoint offset)
{
    constexpr int half = kSide / 2;
    const QRect block(m_last.x + offset.x() - half, m_last.y + offset.y() - half, kSide, kSide);
    std::vector<quint32> pixels = m_desktop.PixelBlock(block.x(), block.y(), kSide, kSide);
    const int differing = DifferingPixels(m_stored, pixels);
    if (offset != QPoint()) {
        if (differing <= kToleratedPixels)
            m_foundImage = BlockImage(pixels, block, block.topLeft());
        return differing <= kToleratedPixels;
    }
    m_last.differingPixels = differing;
    m_lastBlock = std::move(pixels);
    return differing <= kToleratedPixels;
}

void ScreenCheck::Found(const ImageFinder::Report& report)
{
    m_deadline.stop();
    m_offset = report.result.offset;
    m_foundImage = report.found;
    emit matched();
}

void ScreenCheck::Looked(const ImageFinder::Report& report)
{
    const QPoint point(m_last.x, m_last.y);
    m_last.alike.clear();
    // Found as alike in two places, the image is never clicked in either.
    if (report.result.answer == ImageSearch::Answer::Ambiguous)
        m_last.alike = {point + report.result.offset, point + report.result.rival};
    m_last.differingPixels = DifferingPixels(m_stored, report.atPoint);
    m_lastBlock = report.atPoint;
}

void ScreenCheck::Reread()
{
    if (ReadAndCompare()) {
        m_timer.stop();
        emit matched();
        return;
    }
    m_last.waitedMs = m_waited.elapsed();
    if (m_last.waitedMs < m_waitMs) {
        ++m_rereads;
        m_timer.start(m_rereads < std::size(kEarlyRereadsMs) ? kEarlyRereadsMs[m_rereads] : kRereadMs);
        return;
    }
    GiveUp();
}

void ScreenCheck::GiveUp()
{
    Cancel();
    m_last.waitedMs = m_waited.elapsed();
    m_last.current = BlockImage(m_lastBlock, QRect(0, 0, kSide, kSide), QPoint());
    emit gaveUp(m_last);
}

QString ScreenCheck::StopMessage(const ScreenMismatch& mismatch)
{
    return Described(mismatch, TextTable::Text(MismatchText(mismatch, false)));
}

QString ScreenCheck::ReportLine(const ScreenMismatch& mismatch, bool skipped)
{
    return Described(mismatch, TextTable::Text(MismatchText(mismatch, true))) + QLatin1Char(' ') +
           TextTable::Text(skipped ? TextId::MismatchTaskSkipped : TextId::MismatchPlaybackStopped);
}

QString ScreenCheck::SkippedNote(qint64 skippedTasks)
{
    return TextTable::Text(TextId::MismatchSkippedNote).arg(skippedTasks);
}

QString ScreenCheck::FoundLine(int row, QPoint offset)
{
    return TextTable::Text(TextId::FoundLine).arg(row).arg(Distance(offset));
}

QString ScreenCheck::FoundNote(qint64 foundTasks)
{
    return TextTable::Text(TextId::FoundNote).arg(foundTasks);
}

QString ScreenCheck::FoundTip(QPoint offset)
{
    return TextTable::Text(TextId::FoundTip).arg(Distance(offset));
}
