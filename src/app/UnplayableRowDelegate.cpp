#include "app/UnplayableRowDelegate.h"

#include "tasks/Playability.h"
#include "tasks/TaskList.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

UnplayableRowDelegate::UnplayableRowDelegate(const TaskList& tasks, QSize screen, QObject* parent)
    : QStyledItemDelegate(parent), m_tasks(tasks), m_screen(screen)
{}

QString UnplayableRowDelegate::Problem(int row) const
{
    if (m_tasks.IsEmpty() || row < 1 || row >= m_tasks.Rows())
        return {};
    const TaskRow cells{m_tasks.Cell(row, TaskList::kColumnX),
                        m_tasks.Cell(row, TaskList::kColumnY),
                        m_tasks.Cell(row, TaskList::kColumnTask),
                        {}};
    return Playability::Problem(cells, m_screen);
}

void UnplayableRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!Problem(index.row() + 1).isEmpty())
        option->palette.setColor(QPalette::Text, Qt::red);
}

bool UnplayableRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                      const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QString tip = Problem(index.row() + 1);
    // A text cut short shows whole, wrapped as a paragraph.
    const QString text = index.data(Qt::DisplayRole).toString();
    constexpr int kMargins = 8;
    if (tip.isEmpty() && option.fontMetrics.horizontalAdvance(text) + kMargins > option.rect.width())
        tip = QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
    if (tip.isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), tip, view);
    return true;
}
