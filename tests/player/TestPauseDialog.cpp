#include "player/PauseDialog.h"

#include <QComboBox>
#include <QLabel>
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
    QPushButton* Button(const char* name) const { return m_dialog->findChild<QPushButton*>(QString::fromLatin1(name)); }

    void Pick(int hours, int minutes, int seconds)
    {
        const QList<QComboBox*> lists = Lists();
        lists[PauseDialog::kSeconds]->setCurrentText(QString::number(seconds));
        lists[PauseDialog::kMinutes]->setCurrentText(QString::number(minutes));
        lists[PauseDialog::kHours]->setCurrentText(QString::number(hours));
    }

    // The dialog is gone, nothing else waits on the main window, and it takes input again.
    void VerifyClosed()
    {
        QTRY_VERIFY(m_dialog.isNull());
        QVERIFY(m_mainWindow->isEnabled());
    }

private slots:
    void init()
    {
        m_inserted.clear();
        m_mainWindow = std::make_unique<QWidget>();
        m_mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow.get()));
        m_dialog = PauseDialog::Open(m_mainWindow.get(), [this](int seconds) { m_inserted << seconds; });
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.data()));
    }

    void cleanup() { m_mainWindow.reset(); }

    void opensBesideTheDisabledMainWindow()
    {
        QVERIFY(!m_mainWindow->isEnabled());
        QVERIFY(m_dialog->isEnabled());
        QVERIFY(!m_dialog->isModal());
        QCOMPARE(m_dialog->objectName(), QStringLiteral("frmPausa"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Insert Pause..."));
        QCOMPARE(m_dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Insert pause of"));
        QStringList labels;
        for (QLabel* label : m_dialog->findChildren<QLabel*>(QStringLiteral("lblpausa")))
            labels << label->text();
        QCOMPARE(labels, (QStringList{"sec", "min", "hours"}));
        QCOMPARE(Button("OKButton")->text(), QStringLiteral("OK"));
        QCOMPARE(Button("CancelButton")->text(), QStringLiteral("Cancel"));

        const QList<QComboBox*> lists = Lists();
        QCOMPARE(lists.size(), 3);
        const int lastEntries[] = {59, 59, 6};
        for (int index = 0; index < 3; ++index) {
            QComboBox* list = lists[index];
            QVERIFY(!list->isEditable());
            QCOMPARE(list->count(), lastEntries[index] + 1);
            QCOMPARE(list->itemText(list->count() - 1), QString::number(lastEntries[index]));
            QCOMPARE(list->currentText(), QStringLiteral("0"));
        }
        QTest::keyClick(m_dialog.data(), Qt::Key_Escape);
        VerifyClosed();
    }

    void okAddsTheTotalAboveZero_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QList<int>>("inserted");
        QTest::newRow("0:0:0 adds nothing") << 0 << 0 << 0 << QList<int>{};
        QTest::newRow("0:1:30") << 0 << 1 << 30 << QList<int>{90};
        QTest::newRow("6:59:59") << 6 << 59 << 59 << QList<int>{25199};
        QTest::newRow("0:0:1") << 0 << 0 << 1 << QList<int>{1};
    }

    void okAddsTheTotalAboveZero()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(QList<int>, inserted);
        Pick(hours, minutes, seconds);
        QTest::mouseClick(Button("OKButton"), Qt::LeftButton);
        QCOMPARE(m_inserted, inserted);
        VerifyClosed();
    }

    void cancelAndCloseBoxAddNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void cancelAndCloseBoxAddNothing()
    {
        QFETCH(bool, closeBox);
        Pick(1, 2, 3);
        if (closeBox)
            m_dialog->close();
        else
            QTest::mouseClick(Button("CancelButton"), Qt::LeftButton);
        QVERIFY(m_inserted.isEmpty());
        VerifyClosed();
    }
};

QTEST_MAIN(TestPauseDialog)
#include "TestPauseDialog.moc"
