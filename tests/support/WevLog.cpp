#include "support/WevLog.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace {

// "[13:      wl_pointer] motion: time: 4; x, y: 100.000000, 200.000000"
const QRegularExpression kEvent(QStringLiteral(R"(^\[(\d+):\s*(\w+)\] (\w+): (.*)$)"));
const QRegularExpression kPosition(QStringLiteral(R"(x, y: ([-\d.]+), ([-\d.]+))"));
const QRegularExpression kButton(QStringLiteral(R"(button: (\d+) .*state: (\d))"));
// wev names the discrete step "axis_stop" and prints "discrete: N".
const QRegularExpression kDiscrete(QStringLiteral(R"(axis: \d \((\w+)\), discrete: (-?\d+))"));
const QRegularExpression kSym(QStringLiteral(R"(^\s+sym: (\S+)\s+\(\d+\), utf8: '(.*)'$)"));
const QRegularExpression kDepressed(QStringLiteral(R"(^\s+depressed: [0-9a-f]+:?(.*)$)"));

} // namespace

WevLog::WevLog() = default;

WevLog::~WevLog()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool WevLog::Start(int timeoutMs, const std::function<void()>& fill)
{
    // Line-buffered: wev's stdout is a pipe here.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("stdbuf"), {QStringLiteral("-oL"), QStringLiteral("wev")});
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("wev did not start: ") + m_process.errorString();
        return false;
    }
    if (fill && WaitFor([this] { return m_placed; }, timeoutMs) && !m_configured)
        fill();
    if (!WaitFor([this] { return m_configured; }, timeoutMs)) {
        m_error = QStringLiteral("wev's window was not given the whole output");
        return false;
    }
    return true;
}

bool WevLog::WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    ReadAvailable();
    while (!done() && !deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(static_cast<int>(std::min<qint64>(100, deadline.remainingTime())));
        ReadAvailable();
    }
    return done();
}

void WevLog::Clear()
{
    ReadAvailable();
    m_presses.clear();
    m_typed.clear();
    m_keys.clear();
    m_wheel.clear();
}

void WevLog::ReadAvailable()
{
    m_pending += m_process.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        ParseLine(QString::fromUtf8(m_pending.left(end)));
        m_pending.remove(0, end + 1);
    }
}

void WevLog::ParseLine(const QString& line)
{
    const QRegularExpressionMatch sym = kSym.match(line);
    if (sym.hasMatch()) {
        if (std::exchange(m_keyPressed, false)) {
            m_typed += sym.captured(2);
            m_keys << (m_modifiers.isEmpty() ? QString() : m_modifiers + QLatin1Char('+')) + sym.captured(1);
        }
        return;
    }
    const QRegularExpressionMatch depressed = kDepressed.match(line);
    if (depressed.hasMatch()) {
        m_modifiers = depressed.captured(1).simplified().replace(QLatin1Char(' '), QLatin1Char('+'));
        return;
    }
    const QRegularExpressionMatch event = kEvent.match(line);
    if (!event.hasMatch())
        return;
    const QString object = event.captured(1);
    const QString kind = event.captured(2);
    const QString name = event.captured(3);
    const QString rest = event.captured(4);
    if (kind == QLatin1String("xdg_toplevel") && name == QLatin1String("configure") &&
        rest.startsWith(QLatin1String("width: 1280")))
        m_configured = true;
    if (kind == QLatin1String("xdg_toplevel") && name == QLatin1String("configure") &&
        !rest.startsWith(QLatin1String("width: 0")))
        m_placed = true;
    // A new set of devices: wev binds its pointer and keyboard anew (sometimes twice), and a new
    // object speaks.
    if (kind == QLatin1String("wl_seat") && name == QLatin1String("capabilities")) {
        m_pointerObject.clear();
        m_keyboardObject.clear();
    }
    if (kind == QLatin1String("wl_keyboard") && m_keyboardObject.isEmpty())
        m_keyboardObject = object;
    if (kind == QLatin1String("wl_keyboard") && name == QLatin1String("key"))
        m_keyPressed = object == m_keyboardObject && rest.contains(QLatin1String("(pressed)"));
    if (kind != QLatin1String("wl_pointer"))
        return;
    if (m_pointerObject.isEmpty())
        m_pointerObject = object;
    if (object != m_pointerObject)
        return;
    const QRegularExpressionMatch position = kPosition.match(rest);
    if (position.hasMatch())
        m_pointer = QPointF(position.captured(1).toDouble(), position.captured(2).toDouble());
    const QRegularExpressionMatch button = kButton.match(rest);
    if (name == QLatin1String("button") && button.hasMatch())
        m_presses.push_back({button.captured(1).toInt(), button.captured(2) == QLatin1String("1"), m_pointer});
    const QRegularExpressionMatch discrete = kDiscrete.match(rest);
    if (discrete.hasMatch())
        m_wheel << discrete.captured(1) + QLatin1Char(' ') + discrete.captured(2);
}
