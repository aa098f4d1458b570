#include "core/TextTable.h"
#include "tasks/TaskKinds.h"

#include <QSet>
#include <QTest>

class TestTextTable : public QObject
{
    Q_OBJECT

private slots:
    void kindsDifferIdsWithoutTextAreEmptyHelpIsAFile()
    {
        // The player tells task kinds apart by their texts alone.
        QSet<QString> kinds;
        for (const TaskKinds::Kind& kind : TaskKinds::kAll)
            kinds.insert(TextTable::Text(kind.textId));
        QCOMPARE(kinds.size(), int(std::size(TaskKinds::kAll)));
        for (int id : {0, -1, 100, 120, 407, 100000})
            QVERIFY2(TextTable::Text(id).isEmpty(), qPrintable(QString::number(id)));
        // Online help opens the page shipped with the program.
        const QUrl help(TextTable::Text(205));
        QVERIFY(help.isLocalFile() && help.path().endsWith(QStringLiteral("/help/index.html")));
    }
};

QTEST_GUILESS_MAIN(TestTextTable)
#include "TestTextTable.moc"
