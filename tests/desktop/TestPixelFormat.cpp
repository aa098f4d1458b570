#include "desktop/x11/PixelFormat.h"

#include <QTest>

// Pixel values of differently laid out visuals all become red in the low byte, then green, then blue.
class TestPixelFormat : public QObject
{
    Q_OBJECT

private slots:
    void toColour_data()
    {
        QTest::addColumn<qulonglong>("redMask");
        QTest::addColumn<qulonglong>("greenMask");
        QTest::addColumn<qulonglong>("blueMask");
        QTest::addColumn<qulonglong>("pixel");
        QTest::addColumn<quint32>("colour");
        QTest::newRow("24-bit red") << 0xff0000ULL << 0xff00ULL << 0xffULL << 0x123456ULL << 0x563412U;
        QTest::newRow("24-bit ignores the pad byte")
            << 0xff0000ULL << 0xff00ULL << 0xffULL << 0xab010203ULL << 0x030201U;
        QTest::newRow("blue first") << 0xffULL << 0xff00ULL << 0xff0000ULL << 0x123456ULL << 0x123456U;
        QTest::newRow("16-bit white") << 0xf800ULL << 0x07e0ULL << 0x001fULL << 0xffffULL << 0xffffffU;
        QTest::newRow("16-bit mid green") << 0xf800ULL << 0x07e0ULL << 0x001fULL << 0x0400ULL << 0x008200U;
        QTest::newRow("30-bit keeps the high bits")
            << 0x3ff00000ULL << 0xffc00ULL << 0x3ffULL << 0x3ff00001ULL << 0x0000ffU;
    }

    void toColour()
    {
        QFETCH(qulonglong, redMask);
        QFETCH(qulonglong, greenMask);
        QFETCH(qulonglong, blueMask);
        QFETCH(qulonglong, pixel);
        QFETCH(quint32, colour);
        const PixelFormat format(redMask, greenMask, blueMask);
        QCOMPARE(format.ToColour(pixel), colour);
    }
};

QTEST_GUILESS_MAIN(TestPixelFormat)
#include "TestPixelFormat.moc"
