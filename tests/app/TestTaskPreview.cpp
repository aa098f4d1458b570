#include "ImageTexts.h"
#include "app/TaskPreview.h"

#include <QTest>

namespace {
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
} // namespace

class TestTaskPreview : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TaskPreview> m_preview;

    QImage Shown() { return m_preview->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    static bool OnCross(int x, int y) { return x >= 20 && x <= 30 && (x == y || x + y == 50); }

    // Every pixel of the block is the image's colour, but the 21 pixels of the cross.
    static void VerifyBlock(const QImage& shown, QRgb colour)
    {
        for (int x = 0; x < DescriptiveImage::kSide; ++x) {
            for (int y = 0; y < DescriptiveImage::kSide; ++y) {
                const QRgb expected = OnCross(x, y) ? kRed : colour;
                if (shown.pixel(x, y) != expected)
                    QFAIL(
                        qPrintable(QStringLiteral("pixel (%1, %2) is %3").arg(x).arg(y).arg(shown.pixel(x, y), 0, 16)));
            }
        }
    }

private slots:
    void init()
    {
        m_preview = std::make_unique<TaskPreview>();
        m_preview->resize(65, 65);
    }

    void cleanup() { m_preview.reset(); }

    void drawsTheBlockAndTheCross()
    {
        QCOMPARE(m_preview->objectName(), QStringLiteral("Picture1"));
        m_preview->Preview(UniformImageText(0xFFFFFF));
        VerifyBlock(Shown(), kWhite);
        // The cross ends on (20, 20) and (30, 30): its lines hold both end points.
        const QImage shown = Shown();
        QCOMPARE(shown.pixel(19, 19), kWhite);
        QCOMPARE(shown.pixel(31, 31), kWhite);
    }

    void aSecondImageRedrawsTheWholeBlock()
    {
        m_preview->Preview(UniformImageText(0xFFFFFF));
        m_preview->Preview(UniformImageText(0));
        VerifyBlock(Shown(), kBlack);
    }

    void emptyTextAndClearBlankThePicture()
    {
        const QRgb background = Shown().pixel(25, 25);
        QVERIFY(background != kRed);
        m_preview->Preview(UniformImageText(0x00FF00));
        m_preview->Preview(QByteArray());
        QVERIFY(m_preview->Image().isNull());
        QCOMPARE(Shown().pixel(25, 25), background);
        QCOMPARE(Shown().pixel(0, 0), background);

        m_preview->Preview(UniformImageText(0x00FF00));
        m_preview->Clear();
        QCOMPARE(Shown().pixel(0, 0), background);
    }

    void damagedTextsDrawBlackForWhatCannotBeRead()
    {
        const QByteArray white = UniformImageText(0xFFFFFF);
        m_preview->Preview(white.left(51 * 10)); // the first column only
        QImage shown = Shown();
        QCOMPARE(shown.pixel(0, 50), kWhite);
        QCOMPARE(shown.pixel(1, 0), kBlack);
        QCOMPARE(shown.pixel(50, 50), kBlack);

        m_preview->Preview(UniformImageText(-1));
        VerifyBlock(Shown(), kBlack);
        m_preview->Preview(QByteArray("garbage"));
        VerifyBlock(Shown(), kBlack);
    }
};

QTEST_MAIN(TestTaskPreview)
#include "TestTaskPreview.moc"
