// A window for the end-to-end tests to click on: it paints coloured tiles (so that recorded
// descriptive images show something) and appends every button event it receives to a log file,
// one line each: "press|release|double BUTTON X Y" in screen coordinates.
// Usage: cw_click_target LOGFILE X Y WIDTH HEIGHT
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTextStream>
#include <QWidget>

namespace {
int ButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 0;
    }
}
} // namespace

class ClickTarget : public QWidget
{
public:
    explicit ClickTarget(const QString& logPath) : m_log(logPath)
    {
        setWindowTitle(QStringLiteral("Clickwarden click target"));
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            qFatal("cannot write the log %s", qPrintable(logPath));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        constexpr int kTiles = 6;
        const QColor colours[] = {QColor(0xd6, 0x2f, 0x2f), QColor(0xf2, 0xa5, 0x1a), QColor(0x3c, 0xa5, 0x5c),
                                  QColor(0x2f, 0x6f, 0xd6), QColor(0x8e, 0x44, 0xad), QColor(0xf4, 0xf6, 0xf8)};
        for (int row = 0; row < kTiles; ++row) {
            for (int column = 0; column < kTiles; ++column) {
                const QRect tile(column * width() / kTiles, row * height() / kTiles, width() / kTiles + 1,
                                 height() / kTiles + 1);
                painter.fillRect(tile, colours[(row + column) % std::size(colours)]);
                painter.setPen(Qt::black);
                painter.drawRect(tile.adjusted(0, 0, -1, -1));
            }
        }
    }
    void mousePressEvent(QMouseEvent* event) override { Log(QStringLiteral("press"), event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Log(QStringLiteral("release"), event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Log(QStringLiteral("double"), event); }

private:
    void Log(const QString& kind, const QMouseEvent* event)
    {
        const QPoint at = event->globalPosition().toPoint();
        Write(QStringLiteral("%1 %2 %3 %4").arg(kind).arg(ButtonNumber(event->button())).arg(at.x()).arg(at.y()));
    }
    void Write(const QString& line)
    {
        m_log.write((line + QLatin1Char('\n')).toUtf8());
        m_log.flush();
    }

    QFile m_log;
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 6)
        qFatal("usage: cw_click_target LOGFILE X Y WIDTH HEIGHT");
    ClickTarget target(arguments[1]);
    target.setGeometry(arguments[2].toInt(), arguments[3].toInt(), arguments[4].toInt(), arguments[5].toInt());
    target.show();
    return QApplication::exec();
}
