#pragma once

#include <QLabel>

// A short note at the top of the screen, above every window, that takes neither focus nor the
// window manager's frame: what to do while the main window is out of the way.
class ScreenNote : public QLabel
{
    Q_OBJECT

public:
    explicit ScreenNote(QWidget* parent = nullptr);

    // Shows the text, centred at the top of the screen the main window is on.
    void ShowText(const QString& text, const QWidget& window);
};
