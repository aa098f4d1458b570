#include "app/ScreenNote.h"

#include <QScreen>

ScreenNote::ScreenNote(QWidget* parent)
    : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::X11BypassWindowManagerHint)
{
    setObjectName(QStringLiteral("screenNote"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMargin(10);
    setStyleSheet(QStringLiteral("QLabel { background: #fff8c4; color: #202020; border: 1px solid #b0a050; }"));
}

void ScreenNote::ShowText(const QString& text, const QWidget& window)
{
    setText(text);
    adjustSize();
    const QRect screen = window.screen() ? window.screen()->geometry() : QRect(0, 0, 800, 600);
    move(screen.center().x() - width() / 2, screen.top() + 8);
    show();
    raise();
}
