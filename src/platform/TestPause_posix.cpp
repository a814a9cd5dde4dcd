#include "TestPause.h"

#include <QByteArray>

#include <mutex>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace tarnwick {

void pauseForTest(const char *point)
{
    static const QByteArray named = qgetenv("TARNWICK_TEST_PAUSE");
    const QByteArray prefix = QByteArray(point) + ':';
    if (!named.startsWith(prefix))
        return;
    // Runs on several threads may arrive together, and two handshakes on one FIFO would read each
    // other's lines: the first arrival is held, the others wait behind it, and once it has gone on
    // the point lets everyone pass, as the test holds its end of the FIFO only once.
    static std::mutex holding;
    static bool held = false;
    const std::lock_guard lock(holding);
    if (std::exchange(held, true))
        return;
    const QByteArray fifo = named.mid(prefix.size());
    if (const int to = ::open(fifo.constData(), O_WRONLY | O_CLOEXEC); to >= 0) {
        const QByteArray line = prefix + QByteArray::number(::gettid());
        [[maybe_unused]] const ssize_t told = ::write(to, line.constData(), std::size_t(line.size()));
        ::close(to);
    }
    if (const int from = ::open(fifo.constData(), O_RDONLY | O_CLOEXEC); from >= 0) {
        char byte;
        while (::read(from, &byte, 1) > 0) {
        }
        ::close(from);
    }
}

} // namespace tarnwick
