#include "StandardStreams.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace {
std::array<bool, 3> closedAtStart{};
} // namespace

void holdClosedStandardStreams()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            closedAtStart[std::size_t(fd)] = true;
            // The lowest free descriptor is this one.
            ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}

bool standardStreamClosed(StandardStream stream)
{
    return closedAtStart[stream == StandardStream::Input ? 0 : 1];
}

// Through the C stream: Qt then returns what a pipe holds instead of waiting until the buffer
// is full, so that each line comes out as soon as it has come in.
bool openStandardInput(QFile &file)
{
    return !standardStreamClosed(StandardStream::Input) && file.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool openStandardOutput(QFile &file)
{
    return !standardStreamClosed(StandardStream::Output) && file.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void useParentConsole() {}

bool standardErrorIsRead()
{
    struct stat status {};
    return ::isatty(STDERR_FILENO) || (::fstat(STDERR_FILENO, &status) == 0 && (S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode)));
}

void writeWords(WordsTo stream, const QString &words)
{
    FILE *file = stream == WordsTo::Output ? stdout : stderr;
    const QByteArray bytes = words.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file);
    if (stream == WordsTo::Error)
        std::fflush(file);
}

} // namespace tarnwick
