#include "player/ImageSearch.h"
#include "support/ImageText.h"

#include <QTest>

namespace {
using Answer = ImageSearch::Answer;
const QSize kScreen(640, 480);

// A plain background with 120 x 100 windows of noise on it, each at its top left, and a caret.
struct Scene
{
    QList<QPoint> windows;
    bool caret = false; // 2 x 20 pixels dark inside the window at (100, 100)
};

quint32 ColourAt(const Scene& scene, int x, int y)
{
    if (!QRect(QPoint(0, 0), kScreen).contains(x, y))
        return 0;
    if (scene.caret && x >= 150 && x < 152 && y >= 140 && y < 160)
        return 0x101010;
    for (const QPoint& window : scene.windows) {
        const QPoint at = QPoint(x, y) - window;
        if (QRect(0, 0, 120, 100).contains(at))
            return (quint32(at.x() * 7919 + at.y() * 104729) * 2654435761u >> 8) & 0xFFFFFF;
    }
    return 0x3a6ea5;
}
} // namespace

Q_DECLARE_METATYPE(Scene)
Q_DECLARE_METATYPE(ImageSearch::Answer)

// The search for a recorded image on a scripted screen.
class TestImageSearch : public QObject
{
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<QPoint>("point");     // recorded there, windows at (100, 100) and (0, 300)
        QTest::addColumn<Scene>("played");     // the screen at playback
        QTest::addColumn<bool>("wholeScreen"); // or near the point only
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QPoint>("offset");
        const QPoint w(100, 100);
        const QPoint p(160, 150);
        QTest::newRow("moved by an offset")
            << p << Scene{{w + QPoint(150, 80)}} << false << Answer::Found << QPoint(150, 80);
        QTest::newRow("moved off the near area")
            << p << Scene{{w + QPoint(320, 0)}} << false << Answer::NotFound << QPoint();
        QTest::newRow("... found on the whole screen")
            << p << Scene{{w + QPoint(320, 0)}} << true << Answer::Found << QPoint(320, 0);
        QTest::newRow("two equal candidates")
            << p << Scene{{w + QPoint(150, 0), w + QPoint(0, 200)}} << true << Answer::Ambiguous << QPoint();
        QTest::newRow("caret-sized change") << p << Scene{{w}, true} << false << Answer::Found << QPoint();
        QTest::newRow("image half off the screen")
            << p << Scene{{QPoint(570, 200)}} << true << Answer::Found << QPoint(570, 200) - w;
        QTest::newRow("recorded half off the screen")
            << QPoint(10, 350) << Scene{{QPoint(200, 300)}} << true << Answer::Found << QPoint(200, 0);
        QTest::newRow("plain background")
            << QPoint(40, 40) << Scene{{w + QPoint(50, 0)}} << false << Answer::Ambiguous << QPoint();
        QTest::newRow("gone") << p << Scene{} << true << Answer::NotFound << QPoint();
    }

    void find()
    {
        QFETCH(QPoint, point);
        QFETCH(Scene, played);
        QFETCH(bool, wholeScreen);
        QFETCH(Answer, answer);
        QFETCH(QPoint, offset);
        const Scene recorded{{QPoint(100, 100), QPoint(0, 300)}};
        const QImage image = DescriptiveImage::Decode(
            ImageText([&](int x, int y) { return ColourAt(recorded, x, y); }, point.x(), point.y()));
        const ImageSearch search(image, point, kScreen);
        const QRect area = wholeScreen ? search.WholeScreen() : search.NearArea({});
        std::vector<quint32> pixels;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                pixels.push_back(ColourAt(played, x, y));
        }
        const ImageSearch::Result result = search.Find(pixels, area);
        QCOMPARE(result.answer, answer);
        if (answer == Answer::Found)
            QCOMPARE(result.offset, offset);
    }
};

QTEST_GUILESS_MAIN(TestImageSearch)
#include "TestImageSearch.moc"
