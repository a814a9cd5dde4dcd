#include "TextInput.h"

#include <cstring>

namespace tarnwick {

TextInput::TextInput(std::size_t bufferSize)
    : buffer_(new char[bufferSize])
    , capacity_(bufferSize)
{
}

bool TextInput::open(const QString &path)
{
    owned_.close();
    owned_.setFileName(path);
    open(owned_);
    if (!owned_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        failed_ = true;
        errorString_ = owned_.errorString();
        return false;
    }
    return true;
}

void TextInput::open(QFileDevice &device)
{
    file_ = &device;
    pos_ = end_ = 0;
    eof_ = failed_ = false;
}

void TextInput::close()
{
    owned_.close();
    longLine_ = std::string();
}

bool TextInput::fill()
{
    pos_ = end_ = 0;
    if (eof_ || failed_)
        return false;
    const qint64 got = file_->read(buffer_.get(), static_cast<qint64>(capacity_));
    if (got < 0) {
        failed_ = true;
        errorString_ = file_->errorString();
        return false;
    }
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ = static_cast<std::size_t>(got);
    return true;
}

bool TextInput::atEnd()
{
    return pos_ == end_ && !fill();
}

std::string_view TextInput::readBlock()
{
    if (atEnd())
        return {};
    const std::string_view block(buffer_.get() + pos_, end_ - pos_);
    pos_ = end_;
    return block;
}

std::string_view TextInput::readLine()
{
    // A line that lies inside the buffer is returned in place; one that crosses the end of
    // the buffer is gathered in longLine_.
    bool gathering = false;
    for (;;) {
        if (atEnd())
            return gathering ? std::string_view(longLine_) : std::string_view();
        const char *begin = buffer_.get() + pos_;
        const char *end = buffer_.get() + end_;
        for (const char *from = begin;;) {
            const auto *lf = static_cast<const char *>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
            if (!lf)
                break;
            const bool crBefore = lf > begin ? lf[-1] == '\r' : gathering && longLine_.back() == '\r';
            if (crBefore) {
                pos_ = static_cast<std::size_t>(lf + 1 - buffer_.get());
                if (!gathering)
                    return {begin, static_cast<std::size_t>(lf - 1 - begin)};
                if (lf > begin)
                    longLine_.append(begin, static_cast<std::size_t>(lf - 1 - begin));
                else
                    longLine_.pop_back();
                return longLine_;
            }
            from = lf + 1;
        }
        if (!gathering)
            longLine_.clear();
        gathering = true;
        longLine_.append(begin, static_cast<std::size_t>(end - begin));
        pos_ = end_;
    }
}

} // namespace tarnwick
