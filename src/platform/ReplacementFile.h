#pragma once

#include "FileIdentity.h"

#include <QFileDevice>
#include <QString>

#include <memory>
#include <optional>

namespace tarnwick {

// The new file that is written beside a target and takes the target's place at commit(),
// keeping what an existing target has besides its contents: on Linux its owner and group (where
// this process may set them), protection, ACL and extended attributes; on Windows its security
// descriptor, attributes and alternate data streams. Until then, and after discard() or any
// failure, the target stays exactly as it was; a forced end (see EndingSignals) removes the new
// file. A target that is not a regular file (a device such as /dev/null, a FIFO) cannot be
// replaced and is written directly.
//
// The target is found once, at open(): on Linux every symbolic link on its path is followed
// only where the kernel's protected-symlinks rule would follow it (see linkMayBeFollowed), and
// the folder it stands in is held open, so that a link or folder planted afterwards cannot send
// the new file elsewhere. commit() replaces only the file that open() found there.
class ReplacementFile {
public:
    enum class Refusal {
        None,
        UntrustedLink, // another user's link in a shared folder, on the target's path
        ReadOnly,      // the existing file may not be written
        Changed,       // at commit(): another file than the one found at open() stands there now
    };

    explicit ReplacementFile(const QString &target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // False (with errorString(), or a refusal()) when the new file cannot be made.
    bool open();
    QFileDevice &device();
    // The file that commit() replaces, as open() found it; nothing for a target that is new.
    std::optional<FileIdentity> replaced() const;
    // False (with errorString(), or a refusal()) when the new file cannot take the target's place.
    bool commit();
    void discard();
    Refusal refusal() const;
    QString errorString() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace tarnwick
