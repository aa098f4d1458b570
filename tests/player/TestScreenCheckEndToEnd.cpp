#include "app/MainWindow.h"
#include "app/TaskPreview.h"
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "support/RecordingMessageBoxes.h"
#include "tasks/DescriptiveImage.h"
#include "xdriver/LogWindow.h"

#include <QAction>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRadialGradient>
#include <QTest>
#include <QTimer>

// The real main window, on the real X server, waits before a click for the window the click was
// recorded on: it clicks once the window opens, and stops or skips the task when it never does.
using OnMismatch = ScreenCheckOptions::OnMismatch;

namespace {
// A dialog as a desktop draws one: a title bar shaded top to bottom, a photo-like gradient, and a
// shaded button with anti-aliased text, all of which match themselves a pixel or two away.
QImage Dialog(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(0xef, 0xef, 0xef));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient title(0, 0, 0, 28);
    title.setColorAt(0, QColor(0x4a, 0x7c, 0xc4));
    title.setColorAt(1, QColor(0x2c, 0x5a, 0x9e));
    painter.fillRect(0, 0, size.width(), 28, title);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    painter.drawText(QRect(10, 0, size.width() - 20, 28), Qt::AlignVCenter, QStringLiteral("Export picture"));
    QRadialGradient photo(QPointF(90, 90), 90);
    photo.setColorAt(0, QColor(0xf4, 0xd8, 0xa8));
    photo.setColorAt(1, QColor(0x5a, 0x34, 0x28));
    painter.fillRect(20, 40, 140, 110, photo);
    QLinearGradient shade(0, 150, 0, 180);
    shade.setColorAt(0, QColor(0xfd, 0xfd, 0xfd));
    shade.setColorAt(1, QColor(0xc8, 0xcc, 0xd4));
    painter.setPen(QColor(0x8a, 0x8a, 0x8a));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(170.5, 150.5, 100, 30), 4, 4);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QRect(170, 150, 100, 30), Qt::AlignCenter, QStringLiteral("Save as…"));
    return picture;
}

quint32 DesktopColour(QRgb colour)
{
    return quint32(qRed(colour)) | quint32(qGreen(colour)) << 8 | quint32(qBlue(colour)) << 16;
}
} // namespace

class TestScreenCheckEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void waitsForTheRecordedWindow_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::addColumn<ScreenCheckOptions::OnMismatch>("onMismatch");
        QTest::addColumn<int>("exitStatus"); // -1: the run stays open; else it closes the program with it
        QTest::addColumn<bool>("drag");      // a pushed and a released task instead of a click
        const auto stop = ScreenCheckOptions::OnMismatch::Stop;
        const auto skip = ScreenCheckOptions::OnMismatch::Skip;
        QTest::newRow("opens after a second") << true << stop << -1 << false;
        QTest::newRow("never opens: stop") << false << stop << -1 << false;
        QTest::newRow("never opens: skip") << false << skip << -1 << false;
        QTest::newRow("unattended, never opens: stop") << false << stop << 1 << false;
        QTest::newRow("unattended, never opens: skip") << false << skip << 3 << false;
        // A drag is decided on its press: its release is never checked (the check would move the
        // pointer with the button down), and it is skipped with its press.
        QTest::newRow("drag, opens after a second") << true << stop << -1 << true;
        QTest::newRow("drag never opens: skip") << false << skip << -1 << true;
    }

    void waitsForTheRecordedWindow()
    {
        QFETCH(bool, opens);
        QFETCH(ScreenCheckOptions::OnMismatch, onMismatch);
        QFETCH(int, exitStatus);
        QFETCH(bool, drag);
        const bool stops = !opens && onMismatch == ScreenCheckOptions::OnMismatch::Stop;
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY2(opened.desktop, "no X display with XTEST: run under Xvfb");
        X11Desktop& desktop = *opened.desktop;
        // Recorded near the window's corner, clear of the main window: the block holds the window's
        // pattern and the desktop around it.
        LogWindow log(QRect(900, 100, 300, 200));
        const QPoint at(910, 110);
        const auto block = [&desktop, at] {
            return desktop.PixelBlock(at.x() - 25, at.y() - 25, 51, 51);
        };
        log.show();
        QTRY_COMPARE_WITH_TIMEOUT(desktop.PixelColor(at.x(), at.y()), LogWindow::Colour(at), 15000);
        const QByteArray image = DescriptiveImage::Encode(block());
        log.hide();
        QTRY_VERIFY(desktop.PixelColor(at.x(), at.y()) != LogWindow::Colour(at));

        RecordingMessageBoxes messages;
        const ScreenCheckOptions check{true, opens ? 10 : 1, onMismatch};
        MainWindow window(MainWindowServices{&messages, &desktop, {}, nullptr, {}, check});
        window.Start();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ApplyOptions(OptionValues{.playIntervalMs = 100, .closeAfterPlaying = exitStatus >= 0});
        window.Tasks().AddTask(QString::number(at.x()), QString::number(at.y()),
                               TextTable::Text(drag ? TextId::LeftPushed : TextId::ClickLeft), image);
        if (drag)
            window.Tasks().AddTask(QString::number(at.x() + 100), QString::number(at.y() + 50),
                                   TextTable::Text(TextId::LeftReleased), image);
        window.UpdateCommandState(true);
        if (opens)
            QTimer::singleShot(1000, &log, &QWidget::show);
        window.findChild<QAction*>(QStringLiteral("mnuComandiPlay"))->trigger();
        if (exitStatus >= 0) {
            QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 15000);
            QCOMPARE(window.ExitStatus(), exitStatus);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!messages.Texts().isEmpty(), 15000);

        QTRY_COMPARE(log.Events().size(), opens ? 2 : 0);
        // Skipped, the run ends with a note; stopped, the preview shows the recorded block and,
        // beside it, the desktop that was there instead.
        if (!stops)
            QCOMPARE(messages.Texts(), QStringList{TextTable::Text(TextId::AllTasksExecuted) +
                                                   (opens ? "" : " " + ScreenCheck::SkippedNote(drag ? 2 : 1))});
        const QImage& screen = window.findChild<TaskPreview*>(QStringLiteral("Picture1"))->Screen();
        QCOMPARE(screen.isNull(), !stops);
        if (stops)
            QCOMPARE(screen.pixel(25, 25), DescriptiveImage::FromDesktopColour(desktop.PixelColor(at.x(), at.y())));
    }

    void followsAMovedWindow_data()
    {
        QTest::addColumn<bool>("moves"); // or closes
        QTest::newRow("moved by (+150, +80)") << true;
        QTest::newRow("gone") << false;
    }

    // Two clicks recorded on a dialog that xdotool then moves, one on its photo and one on its
    // button: both land on the same spots of the dialog; with the dialog gone, playback stops
    // after the wait and clicks nothing.
    void followsAMovedWindow()
    {
        QFETCH(bool, moves);
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY2(opened.desktop, "no X display with XTEST: run under Xvfb");
        X11Desktop& desktop = *opened.desktop;
        const QRect area(500, 300, 300, 200);
        LogWindow log(area);
        const QImage dialog = Dialog(area.size());
        log.SetPicture(dialog);
        log.show();
        const QList<QPoint> points{{590, 390}, {720, 465}};
        const quint32 colour = DesktopColour(dialog.pixel(points[0] - area.topLeft()));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.PixelColor(points[0].x(), points[0].y()), colour, 15000);
        QList<QByteArray> images;
        for (const QPoint& at : points)
            images << DescriptiveImage::Encode(desktop.PixelBlock(at.x() - 25, at.y() - 25, 51, 51));
        const QPoint offset(150, 80);
        if (moves) {
            QProcess::execute("xdotool", {"windowmove", QString::number(log.winId()), "650", "380"});
            QTRY_COMPARE(desktop.PixelColor(points[0].x() + offset.x(), points[0].y() + offset.y()), colour);
        } else {
            log.hide();
            QTRY_VERIFY(desktop.PixelColor(points[0].x(), points[0].y()) != colour);
        }

        RecordingMessageBoxes messages;
        MainWindow window(MainWindowServices{&messages, &desktop, {}, nullptr, {}, {true, 1, OnMismatch::Find}});
        window.Start();
        window.ApplyOptions(OptionValues{.playIntervalMs = 100});
        for (qsizetype i = 0; i < points.size(); ++i)
            window.Tasks().AddTask(QString::number(points[i].x()), QString::number(points[i].y()),
                                   TextTable::Text(TextId::ClickLeft), images[i]);
        window.UpdateCommandState(true);
        window.findChild<QAction*>(QStringLiteral("mnuComandiPlay"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!messages.Texts().isEmpty(), 15000);

        QStringList clicks;
        for (const QPoint& at : points)
            clicks << LogWindow::Event("press", 1, at + offset) << LogWindow::Event("release", 1, at + offset);
        QTRY_COMPARE(log.Events(), moves ? clicks : QStringList());
        QCOMPARE(messages.Texts().first().startsWith(TextTable::Text(TextId::AllTasksExecuted)), moves);
    }
};

QTEST_MAIN(TestScreenCheckEndToEnd)
#include "TestScreenCheckEndToEnd.moc"
