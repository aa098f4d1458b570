#include "ImageTexts.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/TaskPreview.h"
#include "app/core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
const QString kLeft = TextTable::Text(114);
const QString kPause = TextTable::Text(141);
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

enum class CloseBy
{
    Cancel,
    CloseBox,
    Escape,
};
} // namespace

Q_DECLARE_METATYPE(CloseBy)

// The main window's side of the Options dialog, the preview and the About box.
class TestMainWindowDialogs : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<MainWindow> m_window;
    QList<QUrl> m_opened;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTableView* Grid() { return m_window->findChild<QTableView*>(QStringLiteral("grdComandi")); }
    TaskPreview* Picture() { return m_window->findChild<TaskPreview*>(QStringLiteral("Picture1")); }

    OptionsDialog* OpenOptions()
    {
        // A dialog closed before is deleted once control returns to the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Action("mnuComandiImpostazioni")->trigger();
        auto* dialog = m_window->findChild<OptionsDialog*>(QStringLiteral("frmDialog"));
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }

    template <typename T> static T* Child(QWidget* dialog, const char* name)
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    void ClickRow(int row)
    {
        const QRect cell = Grid()->visualRect(m_window->Tasks().index(row - 1, TaskList::kColumnTask));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QRgb Shown(int x, int y) { return Picture()->grab().toImage().pixel(x, y); }

    // Row 1 white, row 2 black, row 3 a pause.
    void AddImageRows()
    {
        TaskList& tasks = m_window->Tasks();
        tasks.AddTask("10", "10", kLeft, UniformImageText(0xFFFFFF));
        tasks.CloseDoubleClickWindow();
        tasks.AddTask("20", "20", kLeft, UniformImageText(0));
        tasks.AddTask("5", "", kPause, {}, TaskOrigin::Inserted);
        m_window->UpdateCommandState(true);
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_opened.clear();
        MainWindowServices services;
        services.messages = &m_messages;
        services.openUrl = [this](const QUrl& url) {
            m_opened << url;
            return true;
        };
        m_window = std::make_unique<MainWindow>(services);
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void optionsShowTheCurrentValuesAndOkAppliesThem()
    {
        OptionsDialog* dialog = OpenOptions();
        QVERIFY(dialog);
        QVERIFY(!m_window->isEnabled());
        QVERIFY(dialog->isEnabled());
        QVERIFY(!dialog->isModal());
        // The recording interval shows as it is (20 at start-up), not as a fixed 50.
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QStringLiteral("1000"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("20"));
        QVERIFY(Child<QCheckBox>(dialog, "ChkImaging")->isChecked());

        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(QStringLiteral("1234"));
        Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral("40"));
        Child<QCheckBox>(dialog, "chkTermina")->setChecked(true);
        Child<QCheckBox>(dialog, "chkRipeti")->setChecked(true);
        Child<QCheckBox>(dialog, "ChkImaging")->setChecked(false);
        QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        QVERIFY(m_window->isEnabled());
        QVERIFY(m_window->State().Termina && m_window->State().Ripeti && !m_window->State().SalvaImmagine);

        dialog = OpenOptions();
        QVERIFY(dialog);
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QStringLiteral("1234"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("40"));
        QVERIFY(Child<QCheckBox>(dialog, "chkTermina")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "ChkImaging")->isChecked());
        dialog->close();
    }

    void optionsClosedWithoutOkChangeNothing_data()
    {
        QTest::addColumn<CloseBy>("closeBy");
        QTest::newRow("Cancel") << CloseBy::Cancel;
        QTest::newRow("close box") << CloseBy::CloseBox;
        QTest::newRow("Escape") << CloseBy::Escape;
    }

    void optionsClosedWithoutOkChangeNothing()
    {
        QFETCH(CloseBy, closeBy);
        OptionsDialog* dialog = OpenOptions();
        QVERIFY(dialog);
        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(QStringLiteral("3000"));
        Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral("90"));
        Child<QCheckBox>(dialog, "chkRipeti")->setChecked(true);
        switch (closeBy) {
        case CloseBy::Cancel:
            QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
            break;
        case CloseBy::CloseBox:
            dialog->close();
            break;
        case CloseBy::Escape:
            QTest::keyClick(dialog, Qt::Key_Escape);
            break;
        }
        QVERIFY(m_window->isEnabled());
        QVERIFY(!m_window->State().Ripeti);

        dialog = OpenOptions();
        QVERIFY(dialog);
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QStringLiteral("1000"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("20"));
        dialog->close();
    }

    void refusedOptionsKeepTheDialogOpen()
    {
        OptionsDialog* dialog = OpenOptions();
        QVERIFY(dialog);
        Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral("0"));
        Child<QCheckBox>(dialog, "chkTermina")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        QCOMPARE(m_messages.Texts(), QStringList{TextTable::Text(310)});
        QVERIFY(dialog->isVisible());
        QVERIFY(!m_window->isEnabled());
        QVERIFY(!m_window->State().Termina);

        QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
        QVERIFY(m_window->isEnabled());
        QVERIFY(!m_window->State().Termina);
        dialog = OpenOptions();
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("20"));
        dialog->close();
    }

    void clickedRowsArePreviewed()
    {
        AddImageRows();
        QVERIFY(Picture()->Image().isNull());
        ClickRow(1);
        QCOMPARE(Shown(0, 0), kWhite);
        QCOMPARE(Shown(50, 50), kWhite);
        QCOMPARE(Shown(25, 25), kRed);
        ClickRow(2);
        QCOMPARE(Shown(0, 0), kBlack);
        QCOMPARE(Shown(50, 50), kBlack);
        QCOMPARE(Shown(30, 20), kRed);
        // A pause row has no image: the picture is cleared.
        ClickRow(3);
        QVERIFY(Picture()->Image().isNull());
        QVERIFY(Shown(25, 25) != kRed);

        // A click on the row that is already current draws it again.
        ClickRow(2);
        m_window->UpdateCommandState(true);
        QVERIFY(Picture()->Image().isNull());
        ClickRow(2);
        QCOMPARE(Shown(0, 0), kBlack);
    }

    void keyboardMovesArePreviewedButPlaybackMovesAreNot()
    {
        AddImageRows();
        ClickRow(1);
        QCOMPARE(Shown(0, 0), kWhite);
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_Down);
        QCOMPARE(m_window->Tasks().CurrentRow(), 2);
        QCOMPARE(Shown(0, 0), kBlack);
        QTest::keyClick(Grid(), Qt::Key_Up);
        QCOMPARE(Shown(0, 0), kWhite);

        // Playback (and loading) move the current row without drawing.
        m_window->Tasks().SetCurrentRow(2);
        QCoreApplication::processEvents();
        QCOMPARE(Grid()->currentIndex().row(), 1);
        QCOMPARE(Shown(0, 0), kWhite);
        m_window->Tasks().AddTask("30", "30", kLeft, UniformImageText(0xFF), TaskOrigin::Inserted);
        QCOMPARE(Shown(0, 0), kWhite);
    }

    void clearingTheListBlanksThePreview()
    {
        AddImageRows();
        ClickRow(1);
        QVERIFY(!Picture()->Image().isNull());
        Action("mnuFileNuovo")->trigger();
        QVERIFY(Picture()->Image().isNull());
    }

    void aboutIsOneBoxAndLeavesTheMainWindowEnabled()
    {
        Action("mnuHelpAbout")->trigger();
        auto* about = m_window->findChild<AboutBox*>(QStringLiteral("frmAbout"));
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QVERIFY(!about->isModal());
        QVERIFY(m_window->isEnabled());

        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);

        QTest::mouseClick(Child<QPushButton>(about, "GoToSite"), Qt::LeftButton);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(TextTable::Text(205))});

        QTest::mouseClick(Child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(m_window->findChildren<AboutBox*>().isEmpty());
        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);
    }
};

QTEST_MAIN(TestMainWindowDialogs)
#include "TestMainWindowDialogs.moc"
