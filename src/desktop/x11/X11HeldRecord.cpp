#include "desktop/x11/X11HeldRecord.h"

#include "desktop/x11/X11LetGo.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr const char* kPrefix = "held-";

// A record's text: the display name on the first line, then one "kind code" line per input.
QByteArray Text(const QByteArray& displayName, const std::vector<HeldInputs::Input>& held)
{
    QByteArray text = displayName + '\n';
    for (const HeldInputs::Input& input : held)
        text += char(input.kind) + QByteArray(" ") + QByteArray::number(input.code) + '\n';
    return text;
}

bool IsAlive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString X11HeldRecord::Folder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/clickwarden");
    // Without one (a bare X session), a folder of the user's own in /tmp: made here, or refused
    // when someone else made it first.
    const QString folder = QStringLiteral("/tmp/clickwarden-%1").arg(::getuid());
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    struct stat info
    {};
    const bool ours = ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
                      (info.st_mode & 077) == 0;
    return ours ? folder : QString();
}

void X11HeldRecord::Sweep(_XDisplay* display, const QByteArray& displayName)
{
    const QString folder = Folder();
    if (folder.isEmpty())
        return;
    const QStringList names = QDir(folder).entryList({QString::fromLatin1(kPrefix) + QLatin1Char('*')}, QDir::Files);
    for (const QString& name : names) {
        bool number = false;
        const qint64 pid = name.mid(int(qstrlen(kPrefix))).toLongLong(&number);
        if (!number || pid == ::getpid() || IsAlive(pid))
            continue;
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        if (lines.value(0) != displayName)
            continue;
        std::vector<HeldInputs::Input> held;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> fields = lines[i].split(' ');
            bool ok = false;
            const int code = fields.value(1).toInt(&ok);
            const char kind = fields[0].size() == 1 ? fields[0][0] : '\0';
            if (ok && code >= 0 && code < 256 && QByteArrayView("bklc").contains(kind))
                held.push_back({HeldInputs::Kind(kind), code});
        }
        X11LetGo::Undo(display, held);
        file.remove();
    }
}

X11HeldRecord::X11HeldRecord(const QByteArray& displayName) : m_displayName(displayName)
{
    const QString folder = Folder();
    if (!folder.isEmpty())
        m_path = folder + QLatin1Char('/') + QLatin1String(kPrefix) + QString::number(::getpid());
}

X11HeldRecord::~X11HeldRecord()
{
    if (m_file < 0)
        return;
    ::close(m_file);
    ::unlink(QFile::encodeName(m_path).constData());
}

void X11HeldRecord::Write(const std::vector<HeldInputs::Input>& held)
{
    if (m_path.isEmpty())
        return;
    if (m_file < 0) {
        ::mkdir(QFile::encodeName(m_path.section(QLatin1Char('/'), 0, -2)).constData(), 0700);
        m_file =
            ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_file < 0) {
            m_path.clear(); // no runtime directory to write in: the guardian alone keeps watch
            return;
        }
    }
    const QByteArray text = Text(m_displayName, held);
    // Written in place, then cut to length: a record is never missing while the program holds
    // something. A full disk leaves the guardian alone to keep watch.
    static_cast<void>(::pwrite(m_file, text.constData(), size_t(text.size()), 0) == text.size() &&
                      ::ftruncate(m_file, text.size()) == 0);
}
