#pragma once

#include "app/FrozenScreenWindow.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <memory>
#include <thread>
#include <vector>

class Desktop;
class ScreenReader;

// Takes a point from the user where the desktop keeps other windows' clicks from this program
// (Wayland): once the program's window is out of the way, the screen is read on a thread of its
// own and shown still, full-screen; the click on that picture gives the point, and the picture the
// descriptive image there. Escape, a right click or closing the picture cancels.
class FrozenScreenPicker : public QObject
{
    Q_OBJECT

public:
    // How long the program's window is given to leave the screen before it is read.
    static constexpr int kSettleMs = 300;

    FrozenScreenPicker(Desktop& desktop, QString hint, QObject* parent = nullptr);
    ~FrozenScreenPicker() override;

    void Start(bool images);
    void Cancel();
    bool IsPicking() const { return m_picking; }
    // The picture the user picks on, once it shows.
    FrozenScreenWindow* Window() const { return m_window; }

signals:
    void picked(int x, int y, const QByteArray& image);
    void cancelled();
    // The picture shows: a test can click it now.
    void shown();

private:
    void ReadScreen();
    void Show(std::vector<quint32> pixels, QImage picture, QSize size);
    void Choose(QPoint point);
    void End();

    Desktop& m_desktop;
    QString m_hint;
    QTimer m_settle;
    bool m_picking = false;
    bool m_images = true;
    std::vector<quint32> m_pixels;
    QSize m_size;
    QPointer<FrozenScreenWindow> m_window;
    std::unique_ptr<ScreenReader> m_reader;
    // Last: it is stopped and joined before the reader it uses goes.
    std::jthread m_thread;
};
