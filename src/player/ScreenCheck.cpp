#include "player/ScreenCheck.h"

#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/DescriptiveImage.h"

#include <cstdlib>
#include <iterator>

namespace {
constexpr int kSide = DescriptiveImage::kSide;

// A text with the task's row, point, seconds waited and pixels differing for %1 to %5.
QString Described(const ScreenMismatch& mismatch, const QString& text)
{
    return text.arg(mismatch.row)
        .arg(mismatch.x)
        .arg(mismatch.y)
        .arg(double(mismatch.waitedMs) / 1000.0, 0, 'f', 1)
        .arg(mismatch.differingPixels);
}

bool Differs(QRgb a, QRgb b)
{
    constexpr int t = ScreenCheck::kChannelTolerance;
    return std::abs(qRed(a) - qRed(b)) > t || std::abs(qGreen(a) - qGreen(b)) > t || std::abs(qBlue(a) - qBlue(b)) > t;
}
} // namespace

ScreenCheck::ScreenCheck(Desktop& desktop, QObject* parent) : QObject(parent), m_desktop(desktop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScreenCheck::Reread);
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

bool ScreenCheck::Begin(int row, int x, int y, const QByteArray& imageText, qint64 waitMs)
{
    Cancel();
    m_stored = DescriptiveImage::Decode(imageText);
    m_last = ScreenMismatch{row, x, y, 0, 0, imageText, {}};
    m_waitMs = waitMs;
    // The image was taken with the pointer on the point, so whatever the pointer's hover lights up
    // is in it: the screen is read the same way. The pointer itself is never part of a reading.
    m_desktop.MovePointer(x, y);
    if (ReadAndCompare())
        return true;
    m_waited.start();
    m_rereads = 0;
    m_timer.start(kEarlyRereadsMs[0]);
    return false;
}

void ScreenCheck::Cancel()
{
    m_timer.stop();
}

bool ScreenCheck::ReadAndCompare()
{
    constexpr int half = kSide / 2;
    std::vector<quint32> block = m_desktop.PixelBlock(m_last.x - half, m_last.y - half, kSide, kSide);
    m_last.differingPixels = DifferingPixels(m_stored, block);
    m_lastBlock = std::move(block);
    return m_last.differingPixels <= kToleratedPixels;
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
    m_timer.stop();
    m_last.current = QImage(kSide, kSide, QImage::Format_RGB32);
    m_last.current.fill(Qt::black);
    for (int j = 0; j < kSide && m_lastBlock.size() == std::size_t(kSide * kSide); ++j) {
        auto* line = reinterpret_cast<QRgb*>(m_last.current.scanLine(j));
        for (int i = 0; i < kSide; ++i)
            line[i] = DescriptiveImage::FromDesktopColour(m_lastBlock[std::size_t(j * kSide + i)]);
    }
    emit gaveUp(m_last);
}

QString ScreenCheck::StopMessage(const ScreenMismatch& mismatch)
{
    return Described(mismatch, TextTable::Text(TextId::MismatchStopMessage));
}

QString ScreenCheck::ReportLine(const ScreenMismatch& mismatch, bool skipped)
{
    return Described(mismatch, TextTable::Text(TextId::MismatchReportLine)) + QLatin1Char(' ') +
           TextTable::Text(skipped ? TextId::MismatchTaskSkipped : TextId::MismatchPlaybackStopped);
}

QString ScreenCheck::SkippedNote(qint64 skippedTasks)
{
    return TextTable::Text(TextId::MismatchSkippedNote).arg(skippedTasks);
}
