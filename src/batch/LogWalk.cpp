#include "LogWalk.h"

#include "platform/Folders.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarnwick {

namespace {

// Sorted as a listing of the folder shows the names, in the user's language, and then reversed,
// so that the next name is taken from the end.
void sortForTaking(QStringList &names)
{
    QCollator collator;
    std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) { return collator.compare(a, b) > 0; });
}

} // namespace

LogWalk::LogWalk(QStringList given, const LogChoice &choice)
    : given_(std::move(given))
    , choice_(choice)
{
    for (const QString &include : choice_.includes)
        patterns_.push_back(QRegularExpression::fromWildcard(include, Qt::CaseInsensitive));
}

bool LogWalk::isLog(const QString &name) const
{
    const QString suffix = QFileInfo(name).suffix();
    if (!choice_.outputExtension.isEmpty() && suffix.compare(choice_.outputExtension, Qt::CaseInsensitive) == 0)
        return false;
    if (!patterns_.empty())
        return std::any_of(patterns_.begin(), patterns_.end(), [&name](const QRegularExpression &pattern) { return pattern.match(name).hasMatch(); });
    return std::any_of(choice_.extensions.begin(), choice_.extensions.end(),
                       [&suffix](const QString &extension) { return suffix.compare(extension, Qt::CaseInsensitive) == 0; });
}

std::optional<WalkedLog> LogWalk::enter(QString folder, QString tree)
{
    const auto identity = fileIdentity(folder);
    const QString shown = QDir::toNativeSeparators(folder);
    // A folder already on the way down would be walked again and again.
    if (identity && std::any_of(levels_.begin(), levels_.end(), [&identity](const Level &level) { return level.identity == *identity; }))
        return WalkedLog{folder, tree, problemOf(shown, NotConverted::LinkLoop)};
    FolderListing listing = listFolder(folder);
    Level level{folder, tree, identity.value_or(FileIdentity{}), {}, {}};
    for (FolderEntry &entry : listing.entries) {
        if (entry.kind == FolderEntry::Kind::File && isLog(entry.name))
            level.files.append(std::move(entry.name));
        else if (entry.kind == FolderEntry::Kind::Folder && choice_.recursive)
            level.folders.append(std::move(entry.name));
    }
    listing.entries.clear();
    sortForTaking(level.files);
    sortForTaking(level.folders);
    levels_.push_back(std::move(level));
    // What could be read of a folder is walked still.
    if (!listing.error.isEmpty())
        return WalkedLog{folder, tree, problemOf(shown, NotConverted::FolderUnreadable, listing.error)};
    return std::nullopt;
}

std::optional<WalkedLog> LogWalk::next()
{
    for (;;) {
        if (levels_.empty()) {
            if (nextGiven_ == given_.size())
                return std::nullopt;
            const QString &path = given_[nextGiven_++];
            if (!QFileInfo(path).isDir())
                return WalkedLog{path, {}};
            if (auto problem = enter(path, path))
                return problem;
            continue;
        }
        Level &level = levels_.back();
        if (!level.files.isEmpty()) {
            const QString name = level.files.takeLast();
            return WalkedLog{QDir(level.folder).filePath(name), level.tree};
        }
        if (!level.folders.isEmpty()) {
            const QString name = level.folders.takeLast();
            const QString folder = QDir(level.folder).filePath(name);
            if (auto problem = enter(folder, level.tree))
                return problem;
            continue;
        }
        levels_.pop_back();
    }
}

} // namespace tarnwick
