#include "player/PauseDialog.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class TestPauseDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_mainWindow;
    QPointer<PauseDialog> m_dialog;
    QList<int> m_inserted;

    QList<QComboBox*> Lists() const { return m_dialog->findChildren<QComboBox*>(QStringLiteral("cmbpausa")); }

private slots:
    void init()
    {
        m_inserted.clear();
        m_mainWindow = std::make_unique<QWidget>();
        m_mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
        m_dialog = PauseDialog::Open(m_mainWindow.get(), [this](int seconds) { m_inserted << seconds; });
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.data()));
        QVERIFY(!m_mainWindow->isEnabled());
    }

    void cleanup() { m_mainWindow.reset(); }

    void listsAcceptOnlyTheirEntries()
    {
        const QList<QComboBox*> lists = Lists();
        QCOMPARE(lists.size(), 3);
        const int lastEntries[] = {59, 59, 6};
        for (int index = 0; index < 3; ++index) {
            QVERIFY(!lists[index]->isEditable());
            QCOMPARE(lists[index]->count(), lastEntries[index] + 1);
            QCOMPARE(lists[index]->itemText(lastEntries[index]), QString::number(lastEntries[index]));
            QCOMPARE(lists[index]->currentText(), QStringLiteral("0"));
        }
    }

    void closingAddsTheTotalAboveZeroOnlyForOK_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QList<int>>("picked"); // hours, minutes, seconds
        QTest::addColumn<QList<int>>("inserted");
        QTest::newRow("0:0:0 adds nothing") << "OKButton" << QList<int>{0, 0, 0} << QList<int>{};
        QTest::newRow("0:1:30") << "OKButton" << QList<int>{0, 1, 30} << QList<int>{90};
        QTest::newRow("6:59:59") << "OKButton" << QList<int>{6, 59, 59} << QList<int>{25199};
        QTest::newRow("Cancel") << "CancelButton" << QList<int>{1, 2, 3} << QList<int>{};
        QTest::newRow("close box") << "" << QList<int>{1, 2, 3} << QList<int>{};
    }

    void closingAddsTheTotalAboveZeroOnlyForOK()
    {
        QFETCH(QString, close);
        QFETCH(QList<int>, picked);
        QFETCH(QList<int>, inserted);
        const QList<QComboBox*> lists = Lists();
        lists[PauseDialog::kHours]->setCurrentText(QString::number(picked[0]));
        lists[PauseDialog::kMinutes]->setCurrentText(QString::number(picked[1]));
        lists[PauseDialog::kSeconds]->setCurrentText(QString::number(picked[2]));
        if (close.isEmpty())
            m_dialog->close();
        else
            QTest::mouseClick(m_dialog->findChild<QPushButton*>(close), Qt::LeftButton);
        QCOMPARE(m_inserted, inserted);
        // The dialog is gone and the main window takes input again.
        QTRY_VERIFY(m_dialog.isNull());
        QVERIFY(m_mainWindow->isEnabled());
    }
};

QTEST_MAIN(TestPauseDialog)
#include "TestPauseDialog.moc"
