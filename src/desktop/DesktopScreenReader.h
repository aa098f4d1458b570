#pragma once

#include "desktop/ScreenReader.h"

#include <QObject>

#include <condition_variable>
#include <memory>
#include <mutex>

class Desktop;

// The screen reader of a desktop that offers none of its own: its reads go back to the thread
// the reader was made on, the desktop's, in bands of rows short enough to keep that thread free
// between them; changes are never told, so a wait lasts kUntoldChangeMs and answers all it read.
class DesktopScreenReader : public ScreenReader
{
public:
    // How many pixels one band reads at most.
    static constexpr int kBandPixels = 1 << 16;

    explicit DesktopScreenReader(Desktop& desktop);
    ~DesktopScreenReader() override;

    std::vector<quint32> Block(const QRect& area, std::stop_token stop) override;
    std::vector<QRect> WaitForChanges(std::stop_token stop) override;

private:
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable_any done;
        quint64 finished = 0; // bands read on the desktop's thread
        std::vector<quint32> band;
    };

    // Reads a band on the desktop's thread and waits for it; false when stopped first.
    bool ReadBand(const QRect& band, std::stop_token stop);

    Desktop& m_desktop;
    QObject m_context; // lives on the desktop's thread: calls queued to it die with it
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    quint64 m_asked = 0;
    QRect m_read; // every area read so far
};
