#include "app/QtMessageBoxes.h"

#include "app/QuitOnSignals.h"
#include "app/WindowPlacement.h"
#include "core/AppInfo.h"

#include <QMessageBox>

namespace {
QMessageBox::Icon ToQt(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtMessageBoxes::Show(Icon icon, const QString& text)
{
    // The program is ending: nothing may wait for an answer now.
    if (QuitOnSignals::Requested())
        return;
    WindowPlacement::WaitUntilPlaced(m_parent);
    QMessageBox box(ToQt(icon), AppInfo::ProductName(), text, QMessageBox::Ok, m_parent);
    box.exec();
}
