#pragma once

#include <QFile>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

namespace tarnwick {

// A sequential input channel over a file, read in large blocks.
// A read error ends the input; failed() and errorString() then tell what went wrong.
class TextInput {
public:
    static constexpr std::size_t defaultBufferSize = 1 << 20;

    explicit TextInput(std::size_t bufferSize = defaultBufferSize);

    bool open(const QString &path);
    // Reads from a device that is already open (the temporary file, standard input, a followed
    // log), from where it stands; close() leaves it open.
    void open(QIODevice &device);
    void close();
    // The file that open(path) opened.
    QFileDevice &device() { return owned_; }

    // True exactly when no byte is left to read (or reading has failed).
    bool atEnd();

    // The next unread bytes, as many as the buffer holds; empty at the end.
    std::string_view readBlock();

    // The unread bytes that the buffer holds now (reading more only when it holds none), left
    // unread; consume() then takes the first `size` of them.
    std::string_view buffered() { return atEnd() ? std::string_view() : std::string_view(buffer_.get() + pos_, end_ - pos_); }
    void consume(std::size_t size) { pos_ += size; }

    bool failed() const { return failed_; }
    QString errorString() const { return errorString_; }

private:
    bool fill();

    QFile owned_;
    QIODevice *file_ = &owned_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    QString errorString_;
};

} // namespace tarnwick
