#pragma once

#include <QStyledItemDelegate>

// The tool tips of the grid's cells: the list's own (why a row cannot be played), else the text of
// a cell cut short, whole or, for a long one, its start.
class CellTipDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
