#include "TextInput.h"

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

void TextInput::open(QIODevice &device)
{
    file_ = &device;
    pos_ = end_ = 0;
    eof_ = failed_ = false;
}

void TextInput::close()
{
    owned_.close();
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

} // namespace tarnwick
