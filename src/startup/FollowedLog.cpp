#include "FollowedLog.h"

#include "platform/EndingSignals.h"
#include "platform/SharedReading.h"

#include <QFileInfo>

using namespace std::chrono_literals;

namespace tarnwick {

FollowedLog::FollowedLog(const QString &path, std::function<void()> truncated)
    : path_(path)
    , truncated_(std::move(truncated))
{
    const auto wake = [this] { waiting_.quit(); };
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &waiting_, wake);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &waiting_, wake);
    connect(&poll_, &QTimer::timeout, &waiting_, wake);
    endingWatch_ = watchEndingSignals(wake);
}

FollowedLog::~FollowedLog()
{
    close();
}

bool FollowedLog::open()
{
    if (!openAtPath()) {
        setErrorString(current_.errorString());
        return false;
    }
    // The folder tells of a new log at the name; the log itself of its growth.
    watcher_.addPath(QFileInfo(path_).absolutePath());
    poll_.start(1s);
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool FollowedLog::openAtPath()
{
    current_.close();
    if (!openForSharedReading(current_, path_))
        return false;
    const auto state = fileState(current_);
    identity_ = state ? state->identity : FileIdentity{};
    read_ = 0;
    watchPath();
    return true;
}

// A watch on a name is one on the file it named then: after a rotation it is taken anew.
void FollowedLog::watchPath()
{
    if (watcher_.files().contains(path_))
        watcher_.removePath(path_);
    watcher_.addPath(path_);
}

void FollowedLog::waitForChange()
{
    if (!watcher_.files().contains(path_))
        watcher_.addPath(path_);
    if (!endingSignal())
        waiting_.exec();
}

qint64 FollowedLog::readData(char *data, qint64 maxSize)
{
    for (bool replaced = false; !endingSignal();) {
        const qint64 got = current_.read(data, maxSize);
        if (got < 0)
            setErrorString(current_.errorString());
        if (got != 0) {
            read_ += std::max<qint64>(got, 0);
            return got;
        }
        // All it holds has been read.
        if (const auto state = fileState(current_); state && state->size < read_) {
            truncated_();
            current_.seek(0);
            read_ = 0;
            continue;
        }
        const auto named = fileIdentity(path_);
        if (named && *named != identity_) {
            // What the writer added before it renamed the log is read first.
            if (!replaced) {
                replaced = true;
                continue;
            }
            if (!openAtPath()) {
                setErrorString(current_.errorString());
                return -1;
            }
            continue;
        }
        replaced = false;
        waitForChange();
    }
    return 0; // the end of the input
}

} // namespace tarnwick
