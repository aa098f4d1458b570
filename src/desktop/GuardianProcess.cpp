#include "desktop/GuardianProcess.h"

#include "core/AppPaths.h"
#include "desktop/GuardianProtocol.h"

#include <QFile>

#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

extern char** environ;

QString GuardianProcess::ProgramPath(const char* programName)
{
    return AppPaths::HelperProgram(QString::fromLatin1(programName));
}

std::unique_ptr<GuardianProcess> GuardianProcess::Start(const char* programName, const QByteArray& displayName,
                                                        const QString& programPath)
{
    const QByteArray program = QFile::encodeName(programPath);
    if (program.isEmpty()) {
        std::fprintf(stderr,
                     "clickwarden: %s not found: a button that playback holds stays down if the program is "
                     "killed\n",
                     programName);
        return nullptr;
    }
    int sockets[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], STDIN_FILENO);
    // A group of its own: the Ctrl+C of a terminal, meant for the program, leaves the guardian alone.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    QByteArray display = displayName;
    char* arguments[] = {const_cast<char*>(programName), display.data(), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.constData(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(sockets[1]);
    if (failed != 0) {
        std::fprintf(stderr,
                     "clickwarden: %s cannot be run (%s): a button that playback holds stays down if the "
                     "program is killed\n",
                     program.constData(), std::strerror(failed));
        ::close(sockets[0]);
        return nullptr;
    }
    return std::unique_ptr<GuardianProcess>(new GuardianProcess(sockets[0], pid));
}

GuardianProcess::GuardianProcess(int socket, int pid) : m_socket(socket), m_pid(pid)
{}

GuardianProcess::~GuardianProcess()
{
    ::close(m_socket);
    // Its end is quick (a few releases, then it exits); the wait leaves no zombie behind.
    int status = 0;
    ::waitpid(m_pid, &status, 0);
}

bool GuardianProcess::WaitUntilReady(int timeoutMs)
{
    pollfd descriptor{m_socket, POLLIN, 0};
    char answer = 0;
    return ::poll(&descriptor, 1, timeoutMs) == 1 && ::recv(m_socket, &answer, 1, 0) == 1 &&
           answer == GuardianProtocol::kReady;
}

bool GuardianProcess::Tell(const HeldInputs::Input& input, bool held)
{
    // A guardian that ended closed its end: the socket reads as hung up (or at its end) before a
    // send would still fill the buffer unread.
    pollfd link{m_socket, POLLIN, 0};
    if (::poll(&link, 1, 0) > 0 && (link.revents & (POLLHUP | POLLERR | POLLIN)) != 0)
        return false;
    const char message[GuardianProtocol::kMessageSize] = {held ? GuardianProtocol::kHeld : GuardianProtocol::kLetGo,
                                                          static_cast<char>(input.kind),
                                                          static_cast<char>(static_cast<unsigned char>(input.code))};
    // A guardian that is gone must not end the program with SIGPIPE.
    return ::send(m_socket, message, sizeof message, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof message);
}
