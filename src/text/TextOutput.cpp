#include "TextOutput.h"


namespace tarnwick {

TextOutput::TextOutput(std::size_t bufferSize)
    : buffer_(new char[bufferSize])
    , capacity_(bufferSize)
{
}

TextOutput::~TextOutput()
{
    discard();
}

bool TextOutput::open(const QString &path)
{
    discard();
    failed_ = false;
    refusal_ = ReplacementFile::Refusal::None;
    replacement_ = std::make_unique<ReplacementFile>(path);
    if (!replacement_->open()) {
        failed_ = true;
        refusal_ = replacement_->refusal();
        errorString_ = refusedReadOnly() ? QStringLiteral("the file is read-only") : replacement_->errorString();
        replacement_.reset();
        return false;
    }
    file_ = &replacement_->device();
    return true;
}

void TextOutput::open(QFileDevice &device)
{
    discard();
    failed_ = false;
    file_ = &device;
}

void TextOutput::fail()
{
    if (!failed_) {
        failed_ = true;
        errorString_ = file_->errorString();
    }
}

void TextOutput::writeThrough(const char *data, std::size_t size)
{
    while (size > 0 && !failed_) {
        const qint64 written = file_->write(data, static_cast<qint64>(size));
        if (written <= 0) {
            fail();
            return;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void TextOutput::encodeAsUtf16(QStringConverter::Encoding encoding)
{
    fromUtf8_.emplace(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    toUtf16_.emplace(encoding);
}

void TextOutput::deliver(const char *data, std::size_t size)
{
    if (!toUtf16_) {
        writeThrough(data, size);
        return;
    }
    // Stateful both ways: a character cut at the buffer's edge is completed by the next piece.
    const QByteArray encoded = (*toUtf16_)((*fromUtf8_)(QByteArrayView(data, qsizetype(size))));
    writeThrough(encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

void TextOutput::flushBuffer()
{
    deliver(buffer_.get(), used_);
    used_ = 0;
}

void TextOutput::writeAround(std::string_view text)
{
    if (!file_)
        return;
    flushBuffer();
    if (text.size() >= capacity_) {
        deliver(text.data(), text.size());
        return;
    }
    std::memcpy(buffer_.get(), text.data(), text.size());
    used_ = text.size();
}

bool TextOutput::flush()
{
    if (file_)
        flushBuffer();
    return file_ && !failed_;
}

bool TextOutput::commit()
{
    if (!file_)
        return false;
    flushBuffer();
    bool ok = !failed_;
    if (replacement_ && ok && !replacement_->commit()) {
        failed_ = true;
        refusal_ = replacement_->refusal();
        errorString_ = replacement_->errorString();
        ok = false;
    }
    discard();
    return ok;
}

void TextOutput::discard()
{
    if (replacement_)
        replacement_->discard();
    replacement_.reset();
    file_ = nullptr;
    used_ = 0;
    fromUtf8_.reset();
    toUtf16_.reset();
}

} // namespace tarnwick
