#include "EndingSignals.h"

#include <QDir>
#include <QWinEventNotifier>

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

// Set once an ending event has come, to wake an event loop that waits (see watchEndingSignals).
HANDLE wakeUp = nullptr;

// Runs on a thread of its own while the program goes on: the run notices the signal at its next
// check and ends by itself; one that has not done so within the grace time is ended here.
BOOL WINAPI noteEvent(DWORD event)
{
    EndingSignal expected = NoEndingSignal;
    arrived.compare_exchange_strong(expected, event == CTRL_C_EVENT ? Interrupt : Terminate);
    if (wakeUp)
        SetEvent(wakeUp);
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
    if (!wakeUp)
        wakeUp = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(noteEvent, TRUE);
}

EndingSignal endingSignal()
{
    return arrived.load();
}

std::unique_ptr<QObject> watchEndingSignals(std::function<void()> then)
{
    // A manual-reset event stays set, so that every watch sees it; a watch that has told of it
    // stops listening, which the event would otherwise wake again and again.
    auto notifier = std::make_unique<QWinEventNotifier>(wakeUp);
    QObject::connect(notifier.get(), &QWinEventNotifier::activated, notifier.get(), [then, watch = notifier.get()] {
        watch->setEnabled(false);
        then();
    });
    return notifier;
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
