#include "app/AboutBox.h"
#include "app/core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kNoSysInfo = QStringLiteral("Le informazioni sul sistema non sono attualmente disponibili.");

// A stand-in system-information tool: it only leaves a marker file behind.
void WriteFakeTool(const QString& folder, const QString& name, const QString& marker)
{
    QFile script(folder + QLatin1Char('/') + name);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<AboutBox> m_box;
    QByteArray m_path;

    QString Text(const char* name) { return m_box->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QPushButton* Button(const char* name) { return m_box->findChild<QPushButton*>(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { m_path = qgetenv("PATH"); }

    void init()
    {
        m_messages.Clear();
        m_box = std::make_unique<AboutBox>(m_messages, [](const QUrl&) { return true; });
    }

    void cleanup()
    {
        m_box.reset();
        qputenv("PATH", m_path);
    }

    void showsTheCaptions()
    {
        QCOMPARE(m_box->windowTitle(), QStringLiteral("Informazioni su Clickwarden 2004"));
        QCOMPARE(Text("lblTitle"), QStringLiteral("Clickwarden 2004"));
        QCOMPARE(Text("lblVersion"), QStringLiteral("Versione 1.0.25"));
        QCOMPARE(Text("lblDisclaimer"), TextTable::Text(201));
        QVERIFY(Text("lblDescription")
                    .startsWith(TextTable::Text(203) + '\n' + TextTable::Text(204) + '\n' + TextTable::Text(205)));
        QCOMPARE(Button("cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(Button("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        QVERIFY(!m_box->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());

        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
        const QString shot = QCoreApplication::applicationDirPath() + QStringLiteral("/about.png");
        QVERIFY(m_box->grab().save(shot));
    }

    void startsTheFirstToolOnThePathOrSaysThereIsNone()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        qputenv("PATH", folder.path().toLocal8Bit());
        // Not executable: not a tool, though its name comes first in the list.
        QFile(folder.filePath(QStringLiteral("hardinfo2"))).open(QIODevice::WriteOnly);
        m_box->StartSysInfo();
        QCOMPARE(m_messages.Texts(), QStringList{kNoSysInfo});

        m_messages.Clear();
        const QString preferred = folder.filePath(QStringLiteral("hardinfo.ran"));
        const QString later = folder.filePath(QStringLiteral("gnome.ran"));
        WriteFakeTool(folder.path(), QStringLiteral("gnome-system-monitor"), later);
        WriteFakeTool(folder.path(), QStringLiteral("hardinfo"), preferred);
        QTest::mouseClick(Button("cmdSysInfo"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(preferred), 10000);
        QVERIFY(!QFile::exists(later));
        QVERIFY(m_messages.Texts().isEmpty());
    }
};

QTEST_MAIN(TestAboutBox)
#include "TestAboutBox.moc"
