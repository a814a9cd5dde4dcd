#pragma once

#include "platform/ReplacementFile.h"

#include <QFile>
#include <QFileDevice>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace tarnwick {

// A sequential output channel over a file, written in large blocks.
//
// A file opened by its path is written as a new file beside the target, which takes the
// target's place only at commit(), with the target's owner, protection and attributes; until
// then, and after discard() or any failure, an existing file stays exactly as it was. An
// existing file that may not be written is refused, and so is a path through another user's
// link in a shared folder. A target that is not a regular file (a device such as /dev/null)
// cannot be replaced and is written directly (see ReplacementFile).
class TextOutput {
public:
    static constexpr std::size_t defaultBufferSize = 1 << 20;

    explicit TextOutput(std::size_t bufferSize = defaultBufferSize);
    ~TextOutput();

    bool open(const QString &path);
    // Writes into a device that is already open (the temporary file, standard output); commit()
    // and discard() leave it open.
    void open(QFileDevice &device);

    void write(std::string_view text)
    {
        if (text.size() <= capacity_ - used_) {
            std::memcpy(buffer_.get() + used_, text.data(), text.size());
            used_ += text.size();
        } else {
            writeAround(text);
        }
    }
    // The text followed by CR LF.
    void writeLine(std::string_view text)
    {
        if (text.size() + 2 <= capacity_ - used_) {
            char *to = buffer_.get() + used_;
            std::memcpy(to, text.data(), text.size());
            to[text.size()] = '\r';
            to[text.size() + 1] = '\n';
            used_ += text.size() + 2;
        } else {
            writeAround(text);
            writeAround("\r\n");
        }
    }

    // What is written from now on, UTF-8, goes out as UTF-16 in this byte order (the output of
    // a UTF-16 source, which the cleaners read as UTF-8).
    void encodeAsUtf16(QStringConverter::Encoding encoding);

    // Writes out what is buffered and completes the file; false (with errorString()) when any
    // write failed, in which case a safe-mode target keeps its old contents.
    bool commit();
    // Drops everything not yet committed; an existing target keeps its old contents.
    void discard();
    // Writes out what is buffered, so that a reader sees it now; false when a write failed.
    bool flush();

    bool failed() const { return failed_; }
    // Why the open or the commit was refused, where it was (see ReplacementFile::Refusal).
    ReplacementFile::Refusal refusal() const { return refusal_; }
    bool refusedReadOnly() const { return refusal_ == ReplacementFile::Refusal::ReadOnly; }
    // The existing file that a file opened by its path replaces; nothing for a new one.
    std::optional<FileIdentity> replaced() const { return replacement_ ? replacement_->replaced() : std::nullopt; }
    QString errorString() const { return errorString_; }

private:
    void writeAround(std::string_view text); // what does not fit into the buffer
    void flushBuffer();
    void writeThrough(const char *data, std::size_t size);
    void deliver(const char *data, std::size_t size); // encoded where asked
    void fail();

    std::unique_ptr<ReplacementFile> replacement_; // for a file opened by its path
    QFileDevice *file_ = nullptr;
    std::optional<QStringDecoder> fromUtf8_;
    std::optional<QStringEncoder> toUtf16_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool failed_ = false;
    ReplacementFile::Refusal refusal_ = ReplacementFile::Refusal::None;
    QString errorString_;
};

} // namespace tarnwick
