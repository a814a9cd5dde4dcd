#include "ReplacementFile.h"

#include "EndingSignals.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace tarnwick {

// Written by hand rather than with QSaveFile: QSaveFile resolves the target's links itself, by
// name and without the shared-folder rule, when it opens, renames over whatever stands at the
// resolved name when it commits, and names its new file after the target, so that a name near
// the system's limit could be created once but never replaced. Here every step works from the
// folder that was checked, held open, and the new file has a short name of its own.
namespace {

constexpr int mostLinks = 40; // as the kernel follows at most

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

struct stat statusOf(int fd)
{
    struct stat status {};
    ::fstat(fd, &status);
    return status;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The rule of the kernel's fs.protected_symlinks: in a world-writable folder with the sticky bit,
// a link is followed only when it belongs to the follower or to the folder's owner.
bool mayFollow(const struct stat &folder, const struct stat &link)
{
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// Where the target stands: the folder, held open, and the name in it, with the folder's path
// for the names this file makes there.
struct Place {
    Descriptor folder;
    QByteArray folderPath;
    QByteArray name;
};

enum class Found { Yes, UntrustedLink, Failed };

void enter(QByteArray &path, const QByteArray &part)
{
    if (part == "..") {
        const qsizetype slash = path.lastIndexOf('/');
        path.truncate(slash <= 0 ? 1 : slash);
    } else {
        if (!path.endsWith('/'))
            path += '/';
        path += part;
    }
}

std::deque<QByteArray> partsOf(const QByteArray &path)
{
    std::deque<QByteArray> parts;
    for (const QByteArray &part : path.split('/')) {
        if (!part.isEmpty() && part != ".")
            parts.push_back(part);
    }
    return parts;
}

// Follows the path one name at a time from the folder it starts in, each folder opened without
// following a link and each link read and checked before it is followed; errno on failure.
Found findPlace(const QString &target, Place &place)
{
    const QByteArray given = QFile::encodeName(target);
    if (given.isEmpty() || given.endsWith('/')) {
        errno = given.isEmpty() ? ENOENT : EISDIR;
        return Found::Failed;
    }
    const bool absolute = given.startsWith('/');
    place.folderPath = absolute ? QByteArray("/") : QFile::encodeName(QDir::currentPath());
    place.folder.reset(::open(place.folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!place.folder.valid())
        return Found::Failed;
    std::deque<QByteArray> parts = partsOf(given);
    if (parts.empty() || parts.back() == "..") {
        errno = EISDIR;
        return Found::Failed;
    }
    int links = 0;
    while (!parts.empty()) {
        QByteArray part = std::move(parts.front());
        parts.pop_front();
        struct stat status {};
        const bool exists = ::fstatat(place.folder.get(), part.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists && (errno != ENOENT || !parts.empty()))
            return Found::Failed;
        if (exists && S_ISLNK(status.st_mode)) {
            if (!mayFollow(statusOf(place.folder.get()), status))
                return Found::UntrustedLink;
            if (++links > mostLinks) {
                errno = ELOOP;
                return Found::Failed;
            }
            std::vector<char> text(PATH_MAX + 1);
            const ssize_t size = ::readlinkat(place.folder.get(), part.constData(), text.data(), text.size());
            if (size < 0)
                return Found::Failed;
            const QByteArray linked(text.data(), size);
            std::deque<QByteArray> more = partsOf(linked);
            // Only a link that is the target itself must name a file; "a/up/b.txt" with
            // up -> .. is a folder on the way.
            if (parts.empty() && (more.empty() || more.back() == "..")) {
                errno = EISDIR;
                return Found::Failed;
            }
            parts.insert(parts.begin(), more.begin(), more.end());
            if (linked.startsWith('/')) {
                place.folderPath = "/";
                place.folder.reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (!place.folder.valid())
                    return Found::Failed;
            }
            continue;
        }
        if (parts.empty()) {
            place.name = std::move(part);
            return Found::Yes;
        }
        // A folder that has become a link since it was looked at is not entered.
        Descriptor next(::openat(place.folder.get(), part.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid())
            return Found::Failed;
        place.folder = std::move(next);
        enter(place.folderPath, part);
    }
    errno = EISDIR;
    return Found::Failed;
}

QByteArray descriptorPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// The attribute list or value of the file, grown until it fits; empty on any failure.
template <typename Read>
std::vector<char> readAttribute(Read read)
{
    std::vector<char> bytes;
    for (ssize_t size = read(nullptr, 0); size > 0; size = read(nullptr, 0)) {
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (errno != ERANGE)
            break;
    }
    return {};
}

// Gives the new file what the old one has besides its contents: owner and group (where this
// process may set them), extended attributes (the ACL among them), permission bits, special bits
// included. The old file is held by an O_PATH descriptor, whose attributes are read through its
// /proc name. What the file system does not support is left.
void copyMetadata(int from, int to)
{
    const struct stat status = statusOf(from);
    // The group alone where the owner cannot be given away (a user who is in the file's group).
    [[maybe_unused]] const bool owned = ::fchown(to, status.st_uid, status.st_gid) == 0
        || ::fchown(to, static_cast<uid_t>(-1), status.st_gid) == 0;
    const QByteArray name = descriptorPath(from);
    const std::vector<char> names = readAttribute([&](char *into, std::size_t size) { return ::listxattr(name.constData(), into, size); });
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *attribute = names.data() + at;
        const std::vector<char> value = readAttribute([&](char *into, std::size_t size) { return ::getxattr(name.constData(), attribute, into, size); });
        ::fsetxattr(to, attribute, value.data(), value.size(), 0);
    }
    // Last, since changing the owner clears the set-user-ID and set-group-ID bits.
    [[maybe_unused]] const bool protectedAsBefore = ::fchmod(to, status.st_mode & 07777) == 0;
}

// A file this process may not write; for a process that may write any file, one with no write bit.
bool readOnly(int folder, const QByteArray &name, const struct stat &status)
{
    if (::faccessat(folder, name.constData(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES || errno == EPERM;
    return (status.st_mode & 0222) == 0;
}

QByteArray shortName()
{
    return ".tarnwick-" + QByteArray::number(QRandomGenerator::system()->generate(), 16) + ".new";
}

} // namespace

struct ReplacementFile::Parts {
    QString target;
    Place place;
    Descriptor old;            // what stood at the name at open(), not followed
    std::optional<struct stat> oldStatus;
    QFile file;                // the new file, or the target itself when it is written directly
    int fd = -1;
    bool direct = false;
    QByteArray newName;        // the new file's name in the folder, once it has one
    Refusal refusal = Refusal::None;
    QString error;

    bool failWith(int number)
    {
        error = qt_error_string(number);
        return false;
    }
    bool refuse(Refusal why)
    {
        refusal = why;
        return false;
    }
    QString fullName(const QByteArray &name) const
    {
        QByteArray path = place.folderPath;
        enter(path, name);
        return QFile::decodeName(path);
    }
    void removeNamed()
    {
        if (!newName.isEmpty())
            ::unlinkat(place.folder.get(), newName.constData(), 0);
        newName.clear();
        removeOnForcedEnd(LeftBehind::Replacement, {});
    }
    // The new file gets a name of its own in the folder: an unnamed one is linked to it.
    bool name(bool unnamed)
    {
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray candidate = shortName();
            removeOnForcedEnd(LeftBehind::Replacement, fullName(candidate));
            const bool made = unnamed
                ? ::linkat(AT_FDCWD, descriptorPath(fd).constData(), place.folder.get(), candidate.constData(), AT_SYMLINK_FOLLOW) == 0
                : (fd = ::openat(place.folder.get(), candidate.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)) >= 0;
            if (made) {
                newName = candidate;
                return true;
            }
            removeOnForcedEnd(LeftBehind::Replacement, {});
            if (errno != EEXIST)
                return failWith(errno);
        }
        return failWith(EEXIST);
    }
};

ReplacementFile::ReplacementFile(const QString &target)
    : parts_(new Parts)
{
    parts_->target = target;
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::open()
{
    discard();
    Parts &p = *parts_;
    p.refusal = Refusal::None;
    p.old.reset();
    p.oldStatus.reset();
    switch (findPlace(p.target, p.place)) {
    case Found::UntrustedLink: return p.refuse(Refusal::UntrustedLink);
    case Found::Failed: return p.failWith(errno);
    case Found::Yes: break;
    }
    const int folder = p.place.folder.get();
    p.old.reset(::openat(folder, p.place.name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (p.old.valid()) {
        const struct stat status = statusOf(p.old.get());
        if (S_ISLNK(status.st_mode))
            return p.refuse(Refusal::Changed);
        if (S_ISDIR(status.st_mode))
            return p.failWith(EISDIR);
        if (!S_ISREG(status.st_mode)) {
            // A FIFO may wait here for its reader, as any program writing to it does.
            p.fd = ::openat(folder, p.place.name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
            if (p.fd < 0)
                return p.failWith(errno);
            p.direct = true;
        } else if (readOnly(folder, p.place.name, status)) {
            return p.refuse(Refusal::ReadOnly);
        }
        p.oldStatus = status;
    } else if (errno != ENOENT) {
        return p.failWith(errno);
    }
    if (!p.direct) {
        // Unnamed until commit, so that nothing is left behind whatever ends the program.
        p.fd = ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (p.fd < 0 && !p.name(false))
            return false;
    }
    if (!p.file.open(p.fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(p.fd);
        p.fd = -1;
        p.removeNamed();
        return p.failWith(EBADF);
    }
    return true;
}

QFileDevice &ReplacementFile::device()
{
    return parts_->file;
}

std::optional<FileIdentity> ReplacementFile::replaced() const
{
    if (!parts_->oldStatus)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(parts_->oldStatus->st_dev), static_cast<std::uint64_t>(parts_->oldStatus->st_ino)};
}

bool ReplacementFile::commit()
{
    Parts &p = *parts_;
    if (!p.file.isOpen())
        return p.failWith(EBADF);
    if (p.direct) {
        p.file.close();
        return true;
    }
    if (::fdatasync(p.fd) != 0) {
        const int number = errno;
        discard();
        return p.failWith(number);
    }
    if (p.oldStatus)
        copyMetadata(p.old.get(), p.fd);
    if (p.newName.isEmpty() && !p.name(true)) {
        discard();
        return false;
    }
    // Only the file that was found at open() is replaced (or, for a new target, nothing).
    struct stat now {};
    const bool standing = ::fstatat(p.place.folder.get(), p.place.name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (standing != p.oldStatus.has_value() || (standing && !sameFile(now, *p.oldStatus)) || (!standing && errno != ENOENT)) {
        discard();
        return p.refuse(Refusal::Changed);
    }
    if (::renameat(p.place.folder.get(), p.newName.constData(), p.place.folder.get(), p.place.name.constData()) != 0) {
        const int number = errno;
        discard();
        return p.failWith(number);
    }
    p.newName.clear();
    removeOnForcedEnd(LeftBehind::Replacement, {});
    p.file.close();
    p.fd = -1;
    return true;
}

void ReplacementFile::discard()
{
    Parts &p = *parts_;
    if (p.file.isOpen())
        p.file.close();
    else if (p.fd >= 0)
        ::close(p.fd);
    p.fd = -1;
    p.removeNamed();
    p.direct = false;
}

ReplacementFile::Refusal ReplacementFile::refusal() const
{
    return parts_->refusal;
}

QString ReplacementFile::errorString() const
{
    return parts_->error;
}

} // namespace tarnwick
