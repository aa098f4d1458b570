#pragma once

#include "macrofile/FileChooser.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QFileDialog;

// The file dialog on screen: Qt's file dialog, modal, with the one filter of macro files.
class QtFileChooser : public FileChooser
{
public:
    // "(*.#cw) Clickwarden 2004 (*.#cw)": Qt takes a filter's patterns from its last parentheses, so
    // the description, which starts with its own "(*.#cw)", gets the pattern once more at the end.
    static QString Filter();

    void SetParent(QWidget* parent) { m_parent = parent; }

    // The dialog for one request, set up but not shown.
    std::unique_ptr<QFileDialog> CreateDialog(const Request& request) const;

protected:
    QString Ask(const Request& request) override;

private:
    QPointer<QWidget> m_parent;
};
