#include "desktop/x11/CursorFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCursorFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

    static QByteArray Shipped()
    {
        QFile file(QStringLiteral(CW_DATA_DIR "/rec.cur"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void theShippedCursorLoads()
    {
        const std::optional<CursorFile> cursor = CursorFile::Load(QStringLiteral(CW_DATA_DIR "/rec.cur"));
        QVERIFY(cursor);
        QCOMPARE(cursor->image.size(), QSize(32, 32));
        QCOMPARE(cursor->hotspot, QPoint(1, 1));
        QCOMPARE(cursor->image.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(qAlpha(cursor->image.pixel(31, 0)), 0); // transparent around the shape
        QCOMPARE(qAlpha(cursor->image.pixel(1, 1)), 255);
    }

    void theHotspotComesFromTheDirectoryEntry()
    {
        QByteArray bytes = Shipped();
        QVERIFY(!bytes.isEmpty());
        bytes[10] = 7; // hotspot x, low byte
        bytes[12] = 9; // hotspot y, low byte
        const std::optional<CursorFile> cursor = CursorFile::Load(Write(QStringLiteral("moved.cur"), bytes));
        QVERIFY(cursor);
        QCOMPARE(cursor->hotspot, QPoint(7, 9));
    }

    void unusableFilesGiveNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray icon = Shipped();
        icon[2] = 1; // an icon, not a cursor
        QByteArray truncated = Shipped().left(200);
        QByteArray hotspotOutside = Shipped();
        hotspotOutside[10] = 40;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a cursor at all, just some text\n");
        QTest::newRow("icon file") << icon;
        QTest::newRow("truncated") << truncated;
        QTest::newRow("hotspot outside the image") << hotspotOutside;
    }

    void unusableFilesGiveNothing()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!CursorFile::Load(Write(QStringLiteral("bad.cur"), bytes)));
    }

    void missingFileGivesNothing() { QVERIFY(!CursorFile::Load(m_dir.filePath(QStringLiteral("none.cur")))); }
};

QTEST_GUILESS_MAIN(TestCursorFile)
#include "TestCursorFile.moc"
