#pragma once

#include <QList>
#include <QString>

namespace tarnwick {

// One entry of a folder, links followed: a link to a folder is a folder, a link that leads
// nowhere is neither.
struct FolderEntry {
    enum class Kind { File, Folder, Other };
    QString name;
    Kind kind = Kind::Other;
};

// The entries of a folder, "." and ".." left out, in no particular order, and the system's reason
// when the folder could not be read (or not to its end). The names only are kept, so that a folder
// of a million files costs their names and no more.
struct FolderListing {
    QList<FolderEntry> entries;
    QString error;
};
FolderListing listFolder(const QString &path);

// Makes the folder and those above it that are missing: the system's reason where one cannot be
// made, empty when all are there. (Qt's mkpath says only whether it could.)
QString madeFolder(const QString &path);

} // namespace tarnwick
