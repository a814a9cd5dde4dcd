// The I/O floor of a conversion: what the two passes cost when they do nothing but the I/O and
// the line ends. The first pass reads the source in 1 MiB blocks, drops every CR and writes
// each LF as CR LF into a temporary file; the second reads that file back and writes it out,
// and syncs it to the disk as a safe replacement must.
//
//   io-floor SOURCE OUTPUT

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t blockSize = 1 << 20;

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: io-floor SOURCE OUTPUT\n", stderr);
        return 2;
    }
    const std::string temporary = std::string(argv[2]) + ".floor-tmp";
    const int source = ::open(argv[1], O_RDONLY);
    const int middle = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    const int output = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (source < 0 || middle < 0 || output < 0)
        return 1;
    std::vector<char> in(blockSize);
    std::vector<char> out(2 * blockSize);
    for (ssize_t got; (got = ::read(source, in.data(), blockSize)) > 0;) {
        char *to = out.data();
        for (const char *p = in.data(), *end = p + got; p < end;) {
            const char *next = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
            const char *stop = next ? next : end;
            for (const char *lf; (lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p))));) {
                std::memcpy(to, p, static_cast<std::size_t>(lf - p));
                to += lf - p;
                *to++ = '\r';
                *to++ = '\n';
                p = lf + 1;
            }
            std::memcpy(to, p, static_cast<std::size_t>(stop - p));
            to += stop - p;
            p = next ? next + 1 : end;
        }
        if (!writeAll(middle, out.data(), static_cast<std::size_t>(to - out.data())))
            return 1;
    }
    ::lseek(middle, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(middle, in.data(), blockSize)) > 0;) {
        if (!writeAll(output, in.data(), static_cast<std::size_t>(got)))
            return 1;
    }
    // As the program's safe replacement (QSaveFile) makes the output durable before it takes the
    // target's place.
    ::fdatasync(output);
    ::unlink(temporary.c_str());
    return ::close(output) == 0 ? 0 : 1;
}
