#include "app/DesktopStartup.h"

#include "app/QtMessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <cstdio>

namespace {
void PrintError(const QString& text)
{
    std::fprintf(stderr, "clickwarden: %s\n", text.toLocal8Bit().constData());
}
} // namespace

void DesktopStartup::PreparePlatform() const
{
    if (!m_choice.qtPlatform.isEmpty())
        qputenv("QT_QPA_PLATFORM", m_choice.qtPlatform);
    // Without a session bus, the toolkit's first call on one (notifications, the tray, the platform
    // theme) would have libdbus autolaunch a bus that outlives the program: there is none to call.
    if (!m_sessionBus)
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

int DesktopStartup::ReportFailure(int& argc, char** argv, bool mayShowBox) const
{
    PrintError(m_choice.failure);
    if (mayShowBox && m_choice.failureShowable) {
        PreparePlatform();
        QApplication app(argc, argv);
        QtMessageBoxes messages;
        messages.Show(MessageBoxes::Icon::Critical, m_choice.failure);
    }
    return 1;
}

void DesktopStartup::ShowWarning(QMainWindow& window) const
{
    if (m_choice.warning.isEmpty())
        return;
    PrintError(m_choice.warning);
    // A widget of the bar, not a message of it: menu status tips would wipe a message away.
    auto* label = new QLabel(m_choice.warning);
    label->setObjectName(QStringLiteral("lblWayland"));
    label->setWordWrap(true);
    window.statusBar()->addWidget(label, 1);
    // The warning says why there is nothing to record from.
    auto* record = window.findChild<QAction*>(QStringLiteral("mnuComandiRec"));
    if (!m_choice.recordingOffered && record != nullptr) {
        record->setProperty("notOffered", true);
        record->setEnabled(false);
        record->setStatusTip(m_choice.warning);
        record->setToolTip(m_choice.warning);
    }
}
