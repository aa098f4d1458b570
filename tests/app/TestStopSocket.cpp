// The stop socket between "clickwarden --stop" and the running instance, in one process: the asking
// side runs on a thread of its own, as it would in the other program.

#include "app/StopSocket.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <future>

namespace {

StopSocket::Answer AskWhileServing()
{
    std::future<StopSocket::Answer> answer = std::async(std::launch::async, [] { return StopSocket::AskToStop(2000); });
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

} // namespace

class TestStopSocket : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        QFile::remove(StopSocket::Path());
    }

    void answersWhatTheInstanceDid_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("running");
        QTest::addColumn<StopSocket::Answer>("answer");
        QTest::newRow("a run stopped") << true << true << StopSocket::Answer::Stopped;
        QTest::newRow("idle") << true << false << StopSocket::Answer::NothingRunning;
        QTest::newRow("no instance") << false << false << StopSocket::Answer::NoInstance;
    }
    void answersWhatTheInstanceDid()
    {
        QFETCH(bool, listening);
        QFETCH(bool, running);
        QFETCH(StopSocket::Answer, answer);
        int stops = 0;
        std::unique_ptr<StopSocket> socket;
        if (listening)
            socket = std::make_unique<StopSocket>([&] {
                ++stops;
                return running;
            });
        QCOMPARE(AskWhileServing(), answer);
        QCOMPARE(stops, listening ? 1 : 0);
    }

    // An instance that was killed leaves its socket file: the next one takes the place over, but a
    // second instance beside a live one leaves it to the first.
    void aDeadInstancesSocketIsTakenOver()
    {
        QFile stale(StopSocket::Path());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        const StopSocket first([] { return true; });
        QVERIFY(first.IsListening());
        const StopSocket second([] { return false; });
        QVERIFY(!second.IsListening());
        QCOMPARE(AskWhileServing(), StopSocket::Answer::Stopped);
    }

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(TestStopSocket)
#include "TestStopSocket.moc"
