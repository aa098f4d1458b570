#pragma once

#include "app/MainWindow.h"

#include <QComboBox>
#include <QDialog>
#include <QMetaObject>
#include <QPushButton>
#include <QTest>

// Helpers for tests that play through the real main window.
namespace PlaybackWindow {

// Sets the playback and recording intervals the way the user does: through the Options dialog.
inline bool SetIntervals(MainWindow& window, int playMs, int recMs)
{
    window.findChild<QAction*>(QStringLiteral("mnuComandiImpostazioni"))->trigger();
    auto* dialog = window.findChild<QDialog*>(QStringLiteral("frmDialog"));
    if (!dialog)
        return false;
    dialog->findChild<QComboBox*>(QStringLiteral("cmbSpeed"))->setCurrentText(QString::number(playMs));
    dialog->findChild<QComboBox*>(QStringLiteral("cmbSens"))->setCurrentText(QString::number(recMs));
    dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    return QTest::qWaitFor([&window] { return window.isEnabled(); });
}

// Runs one of the window's handlers the way its timer does.
inline void Tick(MainWindow& window, const char* handler)
{
    QMetaObject::invokeMethod(&window, handler, Qt::DirectConnection);
}

} // namespace PlaybackWindow
