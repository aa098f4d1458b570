#include "desktop/x11/CursorFile.h"
#include "desktop/x11/PixelFormat.h"
#include "desktop/x11/X11Desktop.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QCursor>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {
using namespace VirtualKey;
// The codes the layer knows, and a few it must not: the Windows codes of Alt and of neighbouring keys.
const int kCodes[] = {kLeftButton, kRightButton, kMiddleButton, kShift, kControl, kF11, kF12, 0, 18, 121, 124};
const QString kRecordingCursor = QStringLiteral(CW_DATA_DIR "/rec.cur");
} // namespace

// The X11 layer on a real X server, with a second connection in the part of the user and a window
// that shows a known pattern over the whole screen and logs the clicks it receives.
class TestX11Desktop : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<X11Desktop> m_desktop;
    XDriver m_user;
    std::unique_ptr<LogWindow> m_window;
    QRect m_screen;

    // Only `expected` reads as down (none where it is 0); every other code reads as up.
    void CheckOnlyDown(int expected)
    {
        for (int code : kCodes)
            QVERIFY2(m_desktop->IsKeyDown(code) == (code == expected && expected != 0),
                     qPrintable(QStringLiteral("virtual key %1").arg(code)));
    }

private slots:
    void initTestCase()
    {
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY2(opened.desktop && m_user.IsOpen(), "no X display with XTEST: run under Xvfb");
        m_desktop = std::move(opened.desktop);
        m_screen = QGuiApplication::primaryScreen()->geometry();
        m_window = std::make_unique<LogWindow>(m_screen);
        m_window->show();
        // Painted once the toolkit's own connection reads it back.
        const QPoint corner = m_screen.bottomRight();
        QTRY_COMPARE(
            QGuiApplication::primaryScreen()->grabWindow(0, corner.x(), corner.y(), 1, 1).toImage().pixel(0, 0),
            LogWindow::Rgb(corner));
    }

    void cleanup() { m_user.ReleaseAll(); }

    // The buttons' state is read in the drags below.
    void keysHeldByTheUser_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        const std::pair<const char*, int> keys[] = {
            {"Shift_L", kShift}, {"Shift_R", kShift}, {"Control_L", kControl}, {"Control_R", kControl}, {"F11", kF11},
            {"F12", kF12},       {"Alt_L", 0}};
        for (const auto& [key, code] : keys)
            QTest::newRow(key) << QString::fromLatin1(key) << code;
    }

    void keysHeldByTheUser()
    {
        QFETCH(QString, key);
        QFETCH(int, expected);
        CheckOnlyDown(0);
        m_user.Keys(key, true);
        CheckOnlyDown(expected);
        m_user.ReleaseAll();
        CheckOnlyDown(0);
    }

    void movePointerMovesTheRealPointer()
    {
        for (const QPoint target : {QPoint(321, 456), m_screen.bottomRight(), QPoint(0, 0)}) {
            m_desktop->MovePointer(target.x(), target.y());
            QCOMPARE(QCursor::pos(), target); // asked on the toolkit's connection
            QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), target);
        }
    }

    // Each row at a point of its own, so that Qt takes no two rows for a double click. A drag ends
    // 100 pixels right of and 80 below where it starts; while it holds the button, only that reads as down.
    void buttonActionsArriveAsTheToolkitSeesThem_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("at");
        int x = 0;
        for (int button : kButtons)
            for (const char* action : {"click", "double click", "drag"})
                QTest::addRow("%s %d", action, button)
                    << QString::fromLatin1(action) << button << QPoint(x += 120, 100);
    }

    void buttonActionsArriveAsTheToolkitSeesThem()
    {
        QFETCH(QString, action);
        QFETCH(int, button);
        QFETCH(QPoint, at);
        const QPoint end = action == QLatin1String("drag") ? at + QPoint(100, 80) : at;
        m_window->ClearEvents();
        m_desktop->MovePointer(at.x(), at.y());
        if (action == QLatin1String("click")) {
            m_desktop->ButtonClick(button);
        } else if (action == QLatin1String("double click")) {
            m_desktop->ButtonDoubleClick(button);
        } else {
            m_desktop->ButtonDown(button);
            CheckOnlyDown(button);
            m_desktop->MovePointer(end.x(), end.y());
            m_desktop->ButtonUp(button);
        }
        QStringList kinds = {QStringLiteral("press"), QStringLiteral("release")};
        if (action == QLatin1String("double click"))
            kinds << QStringLiteral("double") << QStringLiteral("release");
        QStringList expected;
        for (const QString& kind : kinds) {
            const QPoint point = kind == QLatin1String("release") ? end : at;
            expected << QStringLiteral("%1 %2 %3,%4").arg(kind).arg(button).arg(point.x()).arg(point.y());
        }
        // Nothing else asks the server meanwhile: the events must have left without a later flush.
        QTRY_COMPARE(m_window->Events(), expected);
        CheckOnlyDown(0);
    }

    // 51x51 blocks at the middle, each corner and each edge of the screen, and wholly off it.
    void pixelBlocksReadThePatternAndBlackOffScreen_data()
    {
        QTest::addColumn<QPoint>("centre");
        for (int x : {0, m_screen.width() / 2, m_screen.width() - 1})
            for (int y : {3, m_screen.height() / 2, m_screen.height() - 4})
                QTest::addRow("around (%d, %d)", x, y) << QPoint(x, y);
        QTest::newRow("wholly off the screen") << QPoint(-100, m_screen.height() + 60);
    }

    void pixelBlocksReadThePatternAndBlackOffScreen()
    {
        QFETCH(QPoint, centre);
        const QRect area(centre - QPoint(25, 25), QSize(51, 51));
        const std::vector<quint32> block = m_desktop->PixelBlock(area.x(), area.y(), area.width(), area.height());
        QCOMPARE(block.size(), size_t(51 * 51));
        for (int j = 0; j < area.height(); ++j) {
            for (int i = 0; i < area.width(); ++i) {
                const QPoint at = area.topLeft() + QPoint(i, j);
                const quint32 colour = block[size_t(j * area.width() + i)];
                QVERIFY2(colour == (m_screen.contains(at) ? LogWindow::Colour(at) : 0) &&
                             ((i + j) % 7 != 0 || m_desktop->PixelColor(at.x(), at.y()) == colour),
                         qPrintable(QStringLiteral("pixel (%1, %2): %3").arg(at.x()).arg(at.y()).arg(colour)));
            }
        }
    }

    // Other visuals than the test server's: each becomes red in the low byte, then green, then blue.
    void pixelFormatsOfOtherVisuals()
    {
        const struct
        {
            unsigned long red, green, blue, pixel;
            quint32 colour;
        } cases[] = {{0xff0000, 0xff00, 0xff, 0xab010203, 0x030201},      // 24-bit ignores the pad byte
                     {0xff, 0xff00, 0xff0000, 0x123456, 0x123456},        // blue first
                     {0xf800, 0x07e0, 0x001f, 0xffff, 0xffffff},          // 16-bit white
                     {0xf800, 0x07e0, 0x001f, 0x0400, 0x008200},          // 16-bit mid green
                     {0x3ff00000, 0xffc00, 0x3ff, 0x3ff00001, 0x0000ff}}; // 30-bit keeps the high bits
        for (const auto& c : cases)
            QCOMPARE(PixelFormat(c.red, c.green, c.blue).ToColour(c.pixel), c.colour);
    }

    // The shipped cursor and changed copies: the hotspot comes from the directory entry; whatever is
    // not a usable cursor file gives nothing.
    void cursorFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("hotspot"); // (-1, -1): nothing loads
        QFile file(kRecordingCursor);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray shipped = file.readAll();
        const auto changed = [&shipped](int offset, char value) {
            return QByteArray(shipped).replace(offset, 1, &value, 1);
        };
        QTest::newRow("shipped") << shipped << QPoint(1, 1);
        QTest::newRow("hotspot moved") << changed(10, 7).replace(12, 1, "\x09", 1) << QPoint(7, 9);
        QTest::newRow("hotspot outside the image") << changed(10, 40) << QPoint(-1, -1);
        QTest::newRow("icon file") << changed(2, 1) << QPoint(-1, -1);
        QTest::newRow("truncated") << shipped.left(200) << QPoint(-1, -1);
        QTest::newRow("text") << QByteArray("not a cursor at all\n") << QPoint(-1, -1);
        QTest::newRow("missing") << QByteArray() << QPoint(-1, -1);
    }

    void cursorFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, hotspot);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.cur"));
        QFile file(path);
        QVERIFY(bytes.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
        file.close();
        const std::optional<CursorFile> cursor = CursorFile::Load(path);
        QCOMPARE(cursor ? cursor->hotspot : QPoint(-1, -1), hotspot);
        if (cursor)
            QCOMPARE(qAlpha(cursor->image.pixel(31, 0)), 0); // transparent around the shape
    }

    // The root window's cursor shows where the pattern window leaves the screen free.
    void pointerShapeOnTheRootWindow()
    {
        m_window->hide();
        const std::optional<CursorFile> recording = CursorFile::Load(kRecordingCursor);
        QVERIFY(recording);
        m_desktop->SetPointerShape(kRecordingCursor);
        QTRY_VERIFY(m_user.ShowsCursor(*recording));
        m_desktop->SetPointerShape(QStringLiteral("/nonexistent/rec.cur")); // changes nothing
        QVERIFY(m_user.ShowsCursor(*recording));
        m_desktop->SetPointerShape();
        QVERIFY(!m_user.ShowsCursor(*recording));
    }
};

QTEST_MAIN(TestX11Desktop)
#include "TestX11Desktop.moc"
