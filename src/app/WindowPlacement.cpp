#include "app/WindowPlacement.h"

#include "app/QuitOnSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace WindowPlacement {

namespace {
constexpr int kMaxWaitMs = 1000;
} // namespace

void WaitUntilPlaced(QWidget* window)
{
    if (!window || !window->isVisible() || window->isMinimized())
        return;
    const QWindow* handle = window->windowHandle();
    if (!handle || handle->isExposed())
        return;
    const QDeadlineTimer deadline(kMaxWaitMs);
    // Wakes the wait below at the deadline even when no event comes.
    QTimer wake;
    wake.start(kMaxWaitMs);
    while (!handle->isExposed() && window->isVisible() && !deadline.hasExpired() && !QuitOnSignals::Requested())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace WindowPlacement
