#include "app/core/TextTable.h"

#include <QSet>
#include <QTest>

class TestTextTable : public QObject
{
    Q_OBJECT

private slots:
    void textsKeepTheirBlanks()
    {
        QCOMPARE(TextTable::Text(114), QStringLiteral("Mouse Click Left"));
        QCOMPARE(TextTable::Text(117), QStringLiteral("Mouse  DClick Left"));
        QCOMPARE(TextTable::Text(118), QStringLiteral("Mouse  DClick Right"));
        QCOMPARE(TextTable::Text(119), QStringLiteral("Mouse  DClick Middle"));
        QCOMPARE(TextTable::Text(123), QStringLiteral("Recording in progress. Press CTRL+SHIFT+F12 to stop."));
        QCOMPARE(TextTable::Text(135), QStringLiteral("Playing in process. Press CTRL+SHIFT+F11 to stop."));
        QCOMPARE(TextTable::Text(149), QStringLiteral("."));
        QCOMPARE(TextTable::Text(307), QStringLiteral("Repeat tasks forever (CTRL+SHIFT+F11 to stop)"));
    }

    void pushedAndReleasedKindsAreDistinct()
    {
        QSet<QString> kinds;
        for (int id = 142; id <= 147; ++id)
            kinds.insert(TextTable::Text(id));
        QCOMPARE(kinds.size(), 6);
        QCOMPARE(TextTable::Text(147), QStringLiteral("Middle Mouse Released"));
    }

    void idsWithoutTextGiveEmptyText()
    {
        for (int id : {0, -1, 120, 122, 128, 100, 999, 100000})
            QVERIFY2(TextTable::Text(id).isEmpty(), qPrintable(QString::number(id)));
    }

    void helpPageIsAFileAddress()
    {
        const QString address = TextTable::Text(205);
        QVERIFY(address.startsWith(QStringLiteral("file://")));
        QVERIFY(address.endsWith(QStringLiteral("help/index.html")));
    }
};

QTEST_GUILESS_MAIN(TestTextTable)
#include "TestTextTable.moc"
