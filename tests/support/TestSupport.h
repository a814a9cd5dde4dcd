#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

// Helpers shared by the tests: files as bytes, repeated text, a small file system that fills up.
namespace testsupport {

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

inline QByteArray times(QByteArrayView text, int count)
{
    QByteArray result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

inline QString testData(const QString &name)
{
    return QStringLiteral(TARNWICK_TEST_DATA "/") + name;
}

inline bool runsAsRoot()
{
    return geteuid() == 0;
}

// A tmpfs of a few kilobytes mounted on a folder for the life of the object, to see what a full
// disk does. Mounting needs root; where it is not allowed, mounted() is false.
class SmallDisk {
public:
    SmallDisk(const QString &folder, int kilobytes)
        : folder_(folder)
    {
        QDir().mkpath(folder);
        mounted_ = runsAsRoot()
            && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                           QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tarnwick-test"), folder})
                == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {folder_});
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return mounted_; }
    bool remountReadOnly() const
    {
        return QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder_}) == 0;
    }

private:
    QString folder_;
    bool mounted_ = false;
};

// Limits the address space of this process to what it uses now and `extra` bytes more, for the
// life of the object, so that input that would make the program take memory without bound
// fails the test (allocation fails) instead of taking the machine. A sanitizer build reserves
// terabytes of address space for itself and is left unlimited.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t extra)
    {
#if !defined(__SANITIZE_ADDRESS__)
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        ::getrlimit(RLIMIT_AS, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + extra;
        active_ = ::setrlimit(RLIMIT_AS, &limit) == 0;
#else
        Q_UNUSED(extra)
#endif
    }
    ~AddressSpaceLimit()
    {
        if (active_)
            ::setrlimit(RLIMIT_AS, &saved_);
    }
    AddressSpaceLimit(const AddressSpaceLimit &) = delete;
    AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

private:
    rlimit saved_{};
    bool active_ = false;
};

} // namespace testsupport
