#pragma once

#include "desktop/Desktop.h"

#include <QObject>

#include <array>

// Tells which presses and keys went to the program's own windows (the main window, message boxes,
// dialogs), so that the recorder leaves them out: the window under the press point is one of
// them, or the toolkit delivered a press of that very time to one of them (a quick click on a
// message box may have closed it before the recorder asks).
class OwnWindowPresses : public QObject
{
public:
    // Watches the application's events from now on.
    explicit OwnWindowPresses(QObject* parent = nullptr);

    bool IsOwn(const ButtonEvent& press) const;
    // A key press went to one of them: the toolkit delivered a key of that very time, or one of
    // them has the keyboard focus now.
    bool IsOwnKey(const InputEvent& press) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Remember(quint32 time);
    bool Remembers(quint32 time) const;

    // The times of the last few presses and keys the toolkit delivered; 0 where none was.
    std::array<quint32, 16> m_times{};
    std::size_t m_next = 0;
};
