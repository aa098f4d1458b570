#include "app/FrozenScreenWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

FrozenScreenWindow::FrozenScreenWindow(QImage screen, QString hint, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_screen(std::move(screen)), m_hint(std::move(hint))
{
    setObjectName(QStringLiteral("frozenScreen"));
    setWindowTitle(m_hint);
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QRectF FrozenScreenWindow::PictureArea() const
{
    if (m_screen.isNull())
        return {};
    const QSizeF fitted = QSizeF(m_screen.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint FrozenScreenWindow::ScreenPointAt(QPointF windowPoint) const
{
    const QRectF area = PictureArea();
    if (area.isEmpty() || !area.contains(windowPoint))
        return {-1, -1};
    const int x = int(std::floor((windowPoint.x() - area.left()) * m_screen.width() / area.width()));
    const int y = int(std::floor((windowPoint.y() - area.top()) * m_screen.height() / area.height()));
    return {qBound(0, x, m_screen.width() - 1), qBound(0, y, m_screen.height() - 1)};
}

void FrozenScreenWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureArea(), m_screen);
    // The hint sits on a band of its own so that it reads on any picture.
    const QRect band(0, 0, width(), fontMetrics().height() * 2);
    painter.fillRect(band, QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, m_hint);
}

void FrozenScreenWindow::mousePressEvent(QMouseEvent* event)
{
    if (m_answered)
        return;
    if (event->button() == Qt::RightButton) {
        m_answered = true;
        emit cancelled();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = ScreenPointAt(event->position());
    if (point.x() < 0)
        return;
    m_answered = true;
    emit chosen(point);
}

void FrozenScreenWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return QWidget::keyPressEvent(event);
    if (!std::exchange(m_answered, true))
        emit cancelled();
}

void FrozenScreenWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager: the pick is over without a point.
    if (!std::exchange(m_answered, true))
        emit cancelled();
    event->accept();
}
