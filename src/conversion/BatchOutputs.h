#pragma once

#include "platform/FileIdentity.h"

#include <QString>

#include <map>
#include <optional>

namespace tarnwick {

// The outputs that one batch has written, so that no later source of the same batch replaces
// one of them (two logs whose names give the same output name). Files are told apart by their
// identity, so a link or another spelling of the name changes nothing.
class BatchOutputs {
public:
    // The source (as it was given) for which this batch wrote the file at `output`, when that
    // was another source than `source`.
    std::optional<QString> writtenForAnother(const QString &output, const QString &source) const;
    // The file at `output` now holds what this batch wrote for `source`.
    void record(const QString &output, const QString &source);

private:
    struct Written {
        std::optional<FileIdentity> source;
        QString sourceName;
    };
    std::map<FileIdentity, Written> written_;
};

} // namespace tarnwick
