#pragma once

#include <QSize>
#include <QStyledItemDelegate>

class TaskList;

// Marks the grid's rows that cannot be played (Playability): their text red, and the reason as the
// row's tool tip, so a hand-edited or foreign file shows what the player will skip. A cell cut short
// shows its whole text as its tool tip.
class UnplayableRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    UnplayableRowDelegate(const TaskList& tasks, QSize screen, QObject* parent = nullptr);

    // Why the row (numbered as the grid numbers it, from 1) cannot be played; empty when it can.
    QString Problem(int row) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const TaskList& m_tasks;
    QSize m_screen;
};
