#include "TextOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool TextOutput::open(const QString &path, Mode mode)
{
    used_ = 0;
    failed_ = false;
    const QFileInfo target(path);
    const bool replaceable = !target.exists() || target.isFile() || target.isDir();
    const QIODevice::OpenMode openMode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    bool opened = false;
    if (mode == Mode::Safe && replaceable) {
        file_ = std::make_unique<QSaveFile>(path);
        opened = file_->open(openMode);
    } else if (mode == Mode::Fresh && replaceable) {
        if (target.isSymLink() || target.isFile())
            QFile::remove(path);
        // Readable by its owner only: it may stand in a shared folder and hold a whole log.
        auto file = std::make_unique<QFile>(path);
        opened = file->open(openMode | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file_ = std::move(file);
    } else {
        file_ = std::make_unique<QFile>(path);
        opened = file_->open(openMode | QIODevice::Truncate);
    }
    if (!opened) {
        fail();
        file_.reset();
        return false;
    }
    return true;
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

void TextOutput::flushBuffer()
{
    writeThrough(buffer_.get(), used_);
    used_ = 0;
}

void TextOutput::writeAround(std::string_view text)
{
    if (!file_)
        return;
    flushBuffer();
    if (text.size() >= capacity_) {
        writeThrough(text.data(), text.size());
        return;
    }
    std::memcpy(buffer_.get(), text.data(), text.size());
    used_ = text.size();
}

bool TextOutput::commit()
{
    if (!file_)
        return false;
    flushBuffer();
    bool ok = !failed_;
    if (auto *saveFile = qobject_cast<QSaveFile *>(file_.get())) {
        if (failed_)
            saveFile->cancelWriting();
        if (!saveFile->commit() && ok) {
            fail();
            ok = false;
        }
    } else {
        // Closing flushes nothing more (the file is unbuffered), but a late error still shows.
        if (!file_->flush() && ok) {
            fail();
            ok = false;
        }
        file_->close();
    }
    file_.reset();
    return ok;
}

void TextOutput::discard()
{
    if (!file_)
        return;
    if (auto *saveFile = qobject_cast<QSaveFile *>(file_.get()))
        saveFile->cancelWriting(); // destroying an uncommitted QSaveFile removes its new file
    else
        file_->close();
    file_.reset();
    used_ = 0;
}

} // namespace tarnwick
