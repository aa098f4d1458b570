#include "Xdo.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace Xdo {

namespace {
constexpr int kPollMs = 100;
constexpr int kCommandMs = 20000;
} // namespace

QString Run(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(kCommandMs) || xdotool.exitStatus() != QProcess::NormalExit ||
        xdotool.exitCode() != 0) {
        xdotool.kill();
        xdotool.waitForFinished();
        return {};
    }
    const QString output = QString::fromLocal8Bit(xdotool.readAllStandardOutput());
    return output.isNull() ? QStringLiteral("") : output;
}

QStringList VisibleWindows(qint64 pid, const QString& titleRegex)
{
    return Run({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"),
                titleRegex.isEmpty() ? QStringLiteral(".*") : titleRegex})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList WaitForWindows(qint64 pid, const QString& titleRegex, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        const QStringList windows = VisibleWindows(pid, titleRegex);
        if (!windows.isEmpty())
            return windows;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return {};
}

bool WaitUntilNoWindow(qint64 pid, const QString& titleRegex, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (VisibleWindows(pid, titleRegex).isEmpty())
            return true;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return false;
}

bool WaitForOnlyWindow(qint64 pid, const QString& windowId, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (VisibleWindows(pid) == QStringList{windowId})
            return true;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return false;
}

bool Activate(const QString& windowId)
{
    const QDeadlineTimer deadline(kWaitMs);
    do {
        Run({QStringLiteral("windowactivate"), windowId});
        if (Run({QStringLiteral("getactivewindow")}).trimmed() == windowId)
            return true;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return false;
}

void Key(const QString& keys)
{
    Run({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

void HoldKeys(const QString& keys, int milliseconds)
{
    Run({QStringLiteral("keydown"), keys});
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    Run({QStringLiteral("keyup"), keys});
}

void MoveTo(int x, int y)
{
    Run({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
}

void Click(int button, int holdMs)
{
    ButtonDown(button);
    QThread::msleep(static_cast<unsigned long>(holdMs));
    ButtonUp(button);
}

void ButtonDown(int button)
{
    Run({QStringLiteral("mousedown"), QString::number(button)});
}

void ButtonUp(int button)
{
    Run({QStringLiteral("mouseup"), QString::number(button)});
}

Geometry WindowGeometry(const QString& windowId)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), windowId});
    if (!xwininfo.waitForFinished(kCommandMs))
        return {};
    const QString output = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const auto field = [&output](const char* name) {
        const QRegularExpression line(QStringLiteral("^\\s*%1:\\s*(-?\\d+)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(output).captured(1).toInt();
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")};
}

} // namespace Xdo
