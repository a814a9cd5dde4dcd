#pragma once

#include "platform/FileIdentity.h"

#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QIODevice>
#include <QTimer>

#include <functional>
#include <memory>

namespace tarnwick {

// A log read from its start as it grows, as `tail -f` reads it, seen as one sequential device
// that the pipe's conversion reads like a pipe: a read returns what the log holds beyond what was
// read and, when it holds nothing more, waits in an event loop until it grows. The name is
// followed: a log renamed away and replaced by a new one at the name (a rotation) is read to its
// end, then the new one from its start; a log that got shorter (truncated) is read again from its
// start. It waits on the system's notice of a change to the log or its folder, and checks once a
// second besides where a file system gives none. An ending signal ends the input.
class FollowedLog : public QIODevice {
public:
    // `truncated` is called each time the log is read again from its start.
    FollowedLog(const QString &path, std::function<void()> truncated);
    ~FollowedLog() override;

    // Opens the log at the path; false, with errorString(), where it cannot be.
    bool open();
    // The file read now, for what the system tells of it.
    QFile &current() { return current_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool openAtPath();
    void watchPath();
    void waitForChange();

    QString path_;
    std::function<void()> truncated_;
    QFile current_;
    FileIdentity identity_;
    qint64 read_ = 0; // of the current file
    QFileSystemWatcher watcher_;
    QTimer poll_;
    QEventLoop waiting_;
    std::unique_ptr<QObject> endingWatch_;
};

} // namespace tarnwick
