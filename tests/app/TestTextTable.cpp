#include "core/TextTable.h"

#include <QSet>
#include <QTest>

class TestTextTable : public QObject
{
    Q_OBJECT

private slots:
    void textsByIdKeepTheirBlanks()
    {
        QCOMPARE(TextTable::Text(114), QStringLiteral("Mouse Click Left"));
        QCOMPARE(TextTable::Text(117), QStringLiteral("Mouse  DClick Left"));
        QCOMPARE(TextTable::Text(119), QStringLiteral("Mouse  DClick Middle"));
        QCOMPARE(TextTable::Text(123), QStringLiteral("Recording in progress. Press CTRL+SHIFT+F12 to stop."));
        // The task kinds are told apart by their texts.
        QSet<QString> kinds;
        for (int id : {114, 115, 116, 117, 118, 119, 142, 143, 144, 145, 146, 147})
            kinds.insert(TextTable::Text(id));
        QCOMPARE(kinds.size(), 12);
        // The help page ships with the program.
        QVERIFY(TextTable::Text(205).startsWith(QStringLiteral("file://")));
        QVERIFY(TextTable::Text(205).endsWith(QStringLiteral("help/index.html")));
        // Ids without text give an empty text.
        for (int id : {0, -1, 120, 122, 128, 999, 100000})
            QVERIFY2(TextTable::Text(id).isEmpty(), qPrintable(QString::number(id)));
    }
};

QTEST_GUILESS_MAIN(TestTextTable)
#include "TestTextTable.moc"
