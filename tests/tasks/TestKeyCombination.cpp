#include "support/KeyNames.h"
#include "tasks/KeyCombination.h"

#include <QTest>

// A key task pressed into Qt's key editor and shown in it again: the keys a recording would hold,
// non-US letters included, and back.
class TestKeyCombination : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QKeyCombination>("combination");
        QTest::addColumn<QString>("keys");
        QTest::newRow("Ctrl+Shift+T") << (Qt::CTRL | Qt::SHIFT | Qt::Key_T) << "Control_L Shift_L t";
        QTest::newRow("F5") << QKeyCombination(Qt::Key_F5) << "F5";
        QTest::newRow("Return") << QKeyCombination(Qt::Key_Return) << "Return";
        QTest::newRow("Alt+Left") << (Qt::ALT | Qt::Key_Left) << "Alt_L Left";
        QTest::newRow("Ctrl+Space") << (Qt::CTRL | Qt::Key_Space) << "Control_L space";
        QTest::newRow("Super+E") << (Qt::META | Qt::Key_E) << "Super_L e";
        QTest::newRow("German Ctrl+Ä") << (Qt::CTRL | Qt::Key_Adiaeresis) << "Control_L adiaeresis";
        QTest::newRow("Hungarian Ctrl+Ő") << (Qt::CTRL | Qt::Key(0x150)) << "Control_L odoubleacute";
        QTest::newRow("Page Down") << QKeyCombination(Qt::Key_PageDown) << "Next";
    }

    void roundTrip()
    {
        QFETCH(QKeyCombination, combination);
        QFETCH(QString, keys);
        QCOMPARE(KeyCombination::ToKeys(combination), std::optional(KeysNamed(keys)));
        QCOMPARE(KeyCombination::FromKeys(KeysNamed(keys)), std::optional(combination));
    }

    // A modifier alone is no key task; either hand's modifier shows as the same one.
    void modifiersAloneAndEitherHand()
    {
        QVERIFY(!KeyCombination::ToKeys(Qt::CTRL | Qt::Key_Control));
        QCOMPARE(KeyCombination::FromKeys(KeysNamed("Control_R Shift_R t")),
                 std::optional(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
        QVERIFY(!KeyCombination::FromKeys(KeysNamed("t Control_L")));
    }
};

QTEST_GUILESS_MAIN(TestKeyCombination)
#include "TestKeyCombination.moc"
