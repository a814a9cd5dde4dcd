#pragma once

#include <QFileDevice>
#include <QString>

#include <cstring>
#include <memory>
#include <string_view>

namespace tarnwick {

// A sequential output channel over a file, written in large blocks.
//
// Fresh mode writes a new file in place of any file or link of that name; a link planted after
// that one was removed makes the open fail rather than be followed. Safe mode writes a new file
// beside the target and puts it in the target's place only at commit(), so that until then, and
// after discard() or any failure, an existing file stays exactly as it was. A target that is not
// a regular file (a device such as /dev/null) cannot be replaced and is written directly.
class TextOutput {
public:
    enum class Mode { Fresh, Safe };
    static constexpr std::size_t defaultBufferSize = 1 << 20;

    explicit TextOutput(std::size_t bufferSize = defaultBufferSize);
    ~TextOutput();

    bool open(const QString &path, Mode mode);

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

    // Writes out what is buffered and completes the file; false (with errorString()) when any
    // write failed, in which case a safe-mode target keeps its old contents.
    bool commit();
    // Drops everything written; a safe-mode target keeps its old contents.
    void discard();

    bool failed() const { return failed_; }
    QString errorString() const { return errorString_; }

private:
    void writeAround(std::string_view text); // what does not fit into the buffer
    void flushBuffer();
    void writeThrough(const char *data, std::size_t size);
    void fail();

    std::unique_ptr<QFileDevice> file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool failed_ = false;
    QString errorString_;
};

} // namespace tarnwick
