#pragma once

#include "app/MainWindow.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>

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
