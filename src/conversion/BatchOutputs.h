#pragma once

#include "OutputName.h"
#include "platform/FileIdentity.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace tarnwick {

// What one batch (or one conversion of the window) knows of the outputs it may not replace.
// Files are told apart by their identity, so a link or another spelling of the name changes
// nothing. The runs of one batch may ask it from threads of their own at once.
class BatchOutputs {
public:
    // The source (as it was given) for which this batch wrote the file at `output`, when that
    // was another source than `source`.
    std::optional<QString> writtenForAnother(const QString &output, const QString &source) const;
    // Whether the file at `output` holds what this batch wrote for `source`.
    bool writtenFor(const QString &output, const QString &source) const;
    // The file at `output` now holds what this batch wrote for `source`.
    void record(const QString &output, const QString &source);

    // Another log in the source's folder (a file with the source's extension) whose output name
    // is `output` too, so that the existing output may be that log's: its path. Each folder is
    // listed once.
    std::optional<QString> otherLogNamedAlike(const QString &output, const QString &source, const OutputNaming &naming);

private:
    struct Written {
        std::optional<FileIdentity> source;
        QString sourceName;

        bool isFor(const QString &log) const;
    };
    // What this batch wrote at `output`, if anything.
    const Written *writtenAt(const QString &output) const;

    std::map<FileIdentity, Written> written_;
    std::map<QString, QStringList> listings_; // the files of each folder, by its absolute path
    mutable QMutex mutex_;
};

} // namespace tarnwick
