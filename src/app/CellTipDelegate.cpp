#include "app/CellTipDelegate.h"

#include "tasks/RowLook.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

bool CellTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QString tip = index.data(Qt::ToolTipRole).toString();
    // A text cut short shows whole, wrapped as a paragraph.
    const QString text = index.data(Qt::DisplayRole).toString();
    constexpr int kMargins = 8;
    if (tip.isEmpty() && option.fontMetrics.horizontalAdvance(text) + kMargins > option.rect.width())
        tip = QStringLiteral("<p>") + RowLook::Shortened(text, RowLook::kTipCharacters).toHtmlEscaped() +
              QStringLiteral("</p>");
    if (tip.isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), tip, view);
    return true;
}
