#pragma once

#include "desktop/ScreenReader.h"

#include <memory>

class ScreenCastFrames;

// Reads the screen from the screen cast's latest frame, on the calling thread: a change is told
// with each new frame, which mutter sends only when the screen changed.
class GnomeScreenReader : public ScreenReader
{
public:
    // The frames show the monitor whose place in the layout this is.
    GnomeScreenReader(std::shared_ptr<ScreenCastFrames> frames, const QRect& monitor);

    std::vector<quint32> Block(const QRect& area, std::stop_token stop) override;
    // The whole monitor with each new frame.
    std::vector<QRect> WaitForChanges(std::stop_token stop) override;

private:
    std::shared_ptr<ScreenCastFrames> m_frames;
    QRect m_monitor;
    quint64 m_seen = 0; // the last frame told
};
