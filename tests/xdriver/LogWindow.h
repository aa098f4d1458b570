#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

// A window at a fixed place on the screen, above all others, that shows a test pattern and logs the
// mouse buttons it receives, as Qt reports them: "press 1 260,230", "release 2 ...", "double 4 ..."
// (button codes 1 left, 2 right, 4 middle; screen coordinates).
class LogWindow : public QWidget
{
public:
    explicit LogWindow(const QRect& area);

    // The pattern's colour at a screen pixel, red in the low byte, then green, then blue: different
    // for every pixel of a screen up to 4096 pixels wide and high.
    static quint32 Colour(QPoint at);
    // The same as Qt writes colours.
    static QRgb Rgb(QPoint at);

    const QStringList& Events() const { return m_events; }
    void ClearEvents() { m_events.clear(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { Log("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Log("release", event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Log("double", event); }

private:
    void Log(const char* kind, const QMouseEvent* event);

    QImage m_pattern;
    QStringList m_events;
};
