#pragma once

#include "tasks/TaskRows.h"

#include <QSize>
#include <QString>

// What the grid shows and marks for one task row, worked out from the whole row at once: the x and
// task cells as shown (a pause in hours, minutes and seconds, a wait with its unit, keys by their
// labels), why the row cannot be played, and whether its y may be changed. A row may hold a
// megabyte of typed text, so what is shown is cut to what a cell or a tool tip can show.
struct RowLook
{
    // The most characters a cell shows (a maximised window on a wide screen shows fewer), and a
    // tool tip.
    static constexpr qsizetype kCellCharacters = 1000;
    static constexpr qsizetype kTipCharacters = 300;

    QString x;
    QString task;
    QString problem; // empty when the row can be played
    bool yEditable = true;

    // The look of a row on a screen of this size (an empty size checks no screen).
    static RowLook Of(const TaskRow& row, QSize screen);
    // The first characters of a text, "..." in place of the rest when it is longer.
    static QString Shortened(const QString& text, qsizetype characters);

    friend bool operator==(const RowLook&, const RowLook&) = default;
};
