#pragma once

#include <QFileDevice>
#include <QString>

#include <memory>

namespace tarnwick {

// The new file that is written beside a target and takes the target's place at commit(),
// keeping what an existing target has besides its contents: on Linux its owner and group (where
// this process may set them), protection, ACL and extended attributes; on Windows its security
// descriptor, attributes and alternate data streams. Until then, and after discard() or any
// failure, the target stays exactly as it was; a forced end (see EndingSignals) removes the new
// file.
class ReplacementFile {
public:
    explicit ReplacementFile(const QString &target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    bool open();
    QFileDevice &device();
    // False (with errorString()) when the new file cannot take the target's place.
    bool commit();
    void discard();
    QString errorString() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace tarnwick
