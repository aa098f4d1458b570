#pragma once

#include "desktop/Desktop.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// Takes a point from the user: the next press of the left button anywhere on the desktop, followed
// across ticks to its release, gives its point and the descriptive image there; Escape cancels.
// Nothing waits on the window's thread, and the press is no task.
class PointPicker : public QObject
{
    Q_OBJECT

public:
    // Whether a press went to one of the program's own windows: such a press cancels the pick.
    using OwnWindowTest = std::function<bool(const ButtonEvent& press)>;

    PointPicker(Desktop& desktop, OwnWindowTest isOwnWindow, QObject* parent = nullptr);
    ~PointPicker() override;

    // Starts following the buttons; images: whether to take the descriptive image.
    void Start(int intervalMs, bool images);
    void Cancel();
    bool IsPicking() const { return m_timer.isActive(); }
    // One look at the buttons: the timer's tick.
    void Tick();

signals:
    void picked(int x, int y, const QByteArray& image);
    void cancelled();

private:
    void Finish(const ButtonEvent& press);
    bool EscapePressed();

    Desktop& m_desktop;
    OwnWindowTest m_isOwnWindow;
    QTimer m_timer;
    bool m_following = false;
    bool m_images = true;
    bool m_wasDown = false; // when sampling: the button was down at the last tick
    std::optional<ButtonEvent> m_press;
};
