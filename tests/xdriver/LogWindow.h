#pragma once

#include <QImage>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QWidget>

// A window at a fixed place on the screen, above all others, that shows a pattern with a colour of
// its own for every pixel and logs the mouse buttons it receives as Qt reports them; one that takes
// keys also logs what they type and the wheel's notches.
class LogWindow : public QWidget
{
public:
    explicit LogWindow(const QRect& area, bool takesKeys = false)
        : QWidget(nullptr, Qt::Window | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint |
                               Qt::WindowStaysOnTopHint |
                               (takesKeys ? Qt::WindowFlags() : Qt::WindowFlags(Qt::WindowDoesNotAcceptFocus))),
          m_pattern(area.size(), QImage::Format_RGBX8888)
    {
        // Red in the first byte, then green, then blue: the colour numbers on a little-endian host.
        for (int i = 0; i < area.width() * area.height(); ++i)
            reinterpret_cast<quint32*>(m_pattern.bits())[i] =
                0xff000000 | Colour(area.topLeft() + QPoint(i % area.width(), i / area.width()));
        setGeometry(area);
    }

    // The pattern's colour at a screen pixel as the desktop reads it: red in the low byte, then
    // green, then blue. Different for every pixel of a screen up to 4096 pixels wide and high, and
    // scrambled (each step can be undone) so that neighbours differ in every channel: a picture of
    // the pattern matches in one place only, even where colours may drift a little.
    static quint32 ColourAt(int x, int y)
    {
        quint32 v = ((quint32(x & 0xfff) | quint32(y & 0xfff) << 12) * 0x9E3779u) & 0xFFFFFFu;
        v ^= v >> 12;
        return (v * 0x5BD1E9u) & 0xFFFFFFu;
    }
    static quint32 Colour(QPoint at) { return ColourAt(at.x(), at.y()); }

    // A line of the log: "press 1 260,230", "release 2 ...", "double 4 ..." (1 left, 2 right,
    // 4 middle; screen coordinates).
    static QString Event(const char* kind, int button, QPoint at)
    {
        return QStringLiteral("%1 %2 %3,%4").arg(kind).arg(button).arg(at.x()).arg(at.y());
    }

    // Shows a picture of the window's size instead of the pattern: a real-looking window.
    void SetPicture(const QImage& picture)
    {
        m_pattern = picture;
        update();
    }

    QStringList& Events() { return m_events; }
    // Logs the pointer's moves with a button held too, as "move 0 x,y".
    void LogMoves(bool on) { m_logMoves = on; }
    // What the keys typed; a key with Ctrl or Alt, or one that types nothing, as "<Ctrl+Shift+T>",
    // "<Return>"; a wheel notch as "<wheel 120,0>" (its angle).
    QString& Typed() { return m_typed; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_pattern); }
    void mousePressEvent(QMouseEvent* event) override { Log("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Log("release", event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Log("double", event); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_logMoves)
            Log("move", event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr ||
            key == Qt::Key_Meta)
            return;
        const QString text = event->text();
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || text.isEmpty() || text[0] < QChar(' '))
            m_typed += '<' + QKeySequence(event->keyCombination()).toString() + '>';
        else
            m_typed += text;
    }
    void wheelEvent(QWheelEvent* event) override
    {
        m_typed += QStringLiteral("<wheel %1,%2>").arg(event->angleDelta().x()).arg(event->angleDelta().y());
    }

private:
    void Log(const char* kind, const QMouseEvent* event)
    {
        m_events << Event(kind, int(event->button()), event->globalPosition().toPoint());
    }

    QImage m_pattern;
    QStringList m_events;
    QString m_typed;
    bool m_logMoves = false;
};
