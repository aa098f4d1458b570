#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QWidget>

// A picture of the whole screen, shown full-screen, on which the user clicks the point a task
// should have: the way to take a point where the desktop keeps other windows' clicks from this
// program. The picture is drawn whole, scaled to fit, so a click maps back to the screen's pixels.
class FrozenScreenWindow : public QWidget
{
    Q_OBJECT

public:
    FrozenScreenWindow(QImage screen, QString hint, QWidget* parent = nullptr);

    // The screen pixel under a point of this window, or (-1, -1) off the picture.
    QPoint ScreenPointAt(QPointF windowPoint) const;

signals:
    void chosen(QPoint screenPoint);
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QRectF PictureArea() const;

    QImage m_screen;
    QString m_hint;
    bool m_answered = false;
};
