#include "FakeFileChooser.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <unistd.h>

class TestFileChooser : public QObject
{
    Q_OBJECT

private slots:
    void keepsTitleAndLastNameBetweenUses()
    {
        FakeFileChooser chooser;
        chooser.QueueAnswer(QStringLiteral("/tmp/first.#cw"));
        QCOMPARE(chooser.ChooseFileToOpen(), QStringLiteral("/tmp/first.#cw"));
        QCOMPARE(chooser.Requests().back().mode, FileChooser::Mode::Open);
        QCOMPARE(chooser.Requests().back().title, QString()); // the dialog's own title
        QCOMPARE(chooser.Requests().back().initialPath, QCoreApplication::applicationDirPath());

        chooser.SetTitle(QStringLiteral("Add"));
        QCOMPARE(chooser.ChooseFileToOpen(), QString()); // cancelled
        QCOMPARE(chooser.Requests().back().initialPath, QStringLiteral("/tmp/first.#cw"));

        chooser.QueueAnswer(QStringLiteral("/tmp/second"));
        QCOMPARE(chooser.ChooseFileToSave(), QStringLiteral("/tmp/second.#cw"));
        QCOMPARE(chooser.Requests().back().mode, FileChooser::Mode::Save);
        QCOMPARE(chooser.Requests().back().title, QStringLiteral("Add"));
        QCOMPARE(chooser.Requests().back().initialPath, QStringLiteral("/tmp/first.#cw"));

        QCOMPARE(chooser.ChooseFileToSave(), QString());
        QCOMPARE(chooser.Requests().back().initialPath, QStringLiteral("/tmp/second.#cw"));
        QCOMPARE(chooser.Requests().back().title, QStringLiteral("Add"));
    }

    void addsTheExtensionOnlyWhereNoneIsGiven_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("none") << "/tmp/macro"
                              << "/tmp/macro.#cw";
        QTest::newRow("dotted folder") << "/tmp/a.b/macro"
                                       << "/tmp/a.b/macro.#cw";
        QTest::newRow("own extension") << "/tmp/macro.#cw"
                                       << "/tmp/macro.#cw";
        QTest::newRow("other extension") << "/tmp/macro.txt"
                                         << "/tmp/macro.txt";
    }

    void addsTheExtensionOnlyWhereNoneIsGiven()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        FakeFileChooser chooser;
        chooser.QueueAnswer(typed);
        QCOMPARE(chooser.ChooseFileToSave(), saved);
        chooser.QueueAnswer(typed);
        QCOMPARE(chooser.ChooseFileToOpen(), typed); // an opened name is taken as it is
    }

    void startsInTheProgramFolderOrAtHome()
    {
        const QString writable = QDir::tempPath();
        QCOMPARE(FileChooser::StartFolder(writable), writable);
        QCOMPARE(FileChooser::StartFolder(QStringLiteral("/nonexistent/folder")), QDir::homePath());
        QCOMPARE(FileChooser::StartFolder(QString()), QDir::homePath());
        if (::geteuid() != 0) // root may write anywhere
            QCOMPARE(FileChooser::StartFolder(QStringLiteral("/proc")), QDir::homePath());
    }
};

QTEST_GUILESS_MAIN(TestFileChooser)
#include "TestFileChooser.moc"
