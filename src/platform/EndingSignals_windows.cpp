#include "EndingSignals.h"

#include <QDir>

#include <array>
#include <atomic>

#include <windows.h>

namespace tarnwick {

namespace {

std::atomic<EndingSignal> arrived = NoEndingSignal;

// What the handler's thread may read: names in fixed buffers, each valid while its flag is set.
struct Registered {
    wchar_t name[MAX_PATH + 1] = {};
    std::atomic<bool> set = false;
};
std::array<Registered, 2 * mostRunsAtOnce> leftBehind;
thread_local int place = 0;

constexpr DWORD graceMilliseconds = 1000;

// Runs on a thread of its own while the program goes on: the run notices the signal at its next
// check and ends by itself; one that has not done so within the grace time is ended here.
BOOL WINAPI noteEvent(DWORD event)
{
    EndingSignal expected = NoEndingSignal;
    arrived.compare_exchange_strong(expected, event == CTRL_C_EVENT ? Interrupt : Terminate);
    Sleep(graceMilliseconds);
    for (Registered &file : leftBehind) {
        if (file.set)
            DeleteFileW(file.name);
    }
    ExitProcess(UINT(exitStatusOf(arrived.load())));
}

} // namespace

void catchEndingSignals()
{
    SetConsoleCtrlHandler(noteEvent, TRUE);
}

EndingSignal endingSignal()
{
    return arrived.load();
}

void removeOnForcedEnd(LeftBehind which, const QString &path)
{
    Registered &file = leftBehind[static_cast<std::size_t>(2 * place) + static_cast<std::size_t>(which)];
    file.set = false;
    const QString name = QDir::toNativeSeparators(path);
    if (name.isEmpty() || name.size() > MAX_PATH)
        return;
    file.name[name.toWCharArray(file.name)] = L'\0';
    file.set = true;
}

void useForcedEndPlace(int newPlace)
{
    place = newPlace;
}

} // namespace tarnwick
