#pragma once

#include <QFile>
#include <QString>

#include <cstdint>

namespace tarnwick {

// "Tarnwick-" and the number as eight upper-case hexadecimal digits, ".tmp".
QString temporaryFileName(std::uint32_t number);
// True for a name that temporaryFileName() gives.
bool isTemporaryFileName(const QString &name);
// A wildcard for listing a folder: it matches those names, and others that isTemporaryFileName()
// then tells apart.
QString temporaryFileWildcard();

// The intermediate file of a conversion run: a regular file that this process has just created
// itself, exclusively and without following links, readable by its owner only, open for
// reading and writing, and held (locked) until it is removed so that no other instance takes
// it for a leftover. Nothing that already stands at a name is ever opened or deleted.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Creates the file at `path`. When that name is taken and it is one of the program's
    // temporary names, the same name with other numbers is tried.
    bool create(const QString &path);

    QString path() const { return file_.fileName(); }
    QFile &file() { return file_; }
    QString errorString() const { return errorString_; }

    // Closes and deletes the file, provided its name still refers to it; false (with
    // errorString()) when it cannot be deleted.
    bool remove();

private:
    bool createExclusively(const QString &path);

    QFile file_;
    bool created_ = false;
    QString errorString_;
};

// Deletes the program's temporary files in the folder that were left behind (after a power
// cut, say): regular files of the current user whose names the program gives and that no
// running instance holds.
void removeLeftoverTemporaryFiles(const QString &folder);

} // namespace tarnwick
