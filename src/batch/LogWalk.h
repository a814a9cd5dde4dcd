#pragma once

#include "Messages.h"
#include "platform/FileIdentity.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarnwick {

// Which files of a folder given as a source are logs.
struct LogChoice {
    QStringList extensions;     // without their dot, in any case: "log", "txt"
    QStringList includes;       // wildcards on the file name, in place of the extensions when any
    QString outputExtension;    // its files are outputs, never logs; empty when outputs are the logs
    bool recursive = false;     // the logs of the subfolders too
};

// A log to convert, or a folder that could not be read.
struct WalkedLog {
    QString path;
    QString tree; // the folder given that the log was found in; empty for a log given itself
    std::optional<Problem> problem{};
};

// The logs that the given paths stand for, one at a time: a file as it is given (whatever it is
// called: the user chose it), a folder for its logs sorted by name as a listing shows them, and
// with `recursive` then its subfolders' in turn, each after the files of the folder above it.
// Only the folders on the way down are held, each as the names of its logs and subfolders, so
// that memory is bounded by the largest folder, not by the tree. A folder that cannot be read or
// that a link leads back to is told where it comes and the rest goes on.
class LogWalk {
public:
    LogWalk(QStringList given, const LogChoice &choice);

    std::optional<WalkedLog> next();

private:
    struct Level {
        QString folder;
        QString tree;
        FileIdentity identity;
        QStringList files;   // sorted, read from the end
        QStringList folders; // likewise
    };
    bool isLog(const QString &name) const;
    // Lists the folder and goes down into it; a problem where it cannot.
    // Both by value: the level they may come from moves as the new one is added.
    std::optional<WalkedLog> enter(QString folder, QString tree);

    QStringList given_;
    qsizetype nextGiven_ = 0;
    LogChoice choice_;
    std::vector<QRegularExpression> patterns_;
    std::vector<Level> levels_;
};

} // namespace tarnwick
