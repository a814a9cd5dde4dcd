#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>


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

// Whether the tests run with the rights of root (Linux), who may mount and give files away.
bool runsAsRoot();

// A tmpfs of a few kilobytes mounted on a folder for the life of the object, to see what a full
// disk does. Mounting needs root on Linux; where it is not allowed (or on Windows), mounted()
// is false.
class SmallDisk {
public:
    SmallDisk(const QString &folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return mounted_; }
    bool remountReadOnly() const;

private:
    QString folder_;
    bool mounted_ = false;
};

// Limits the address space of this process to what it uses now and `extra` bytes more, for the
// life of the object, so that input that would make the program take memory without bound
// fails the test (allocation fails) instead of taking the machine. A sanitizer build reserves
// terabytes of address space for itself and is left unlimited, and so is a Windows process,
// which has no such limit of its own.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(unsigned long long extra);
    ~AddressSpaceLimit();
    AddressSpaceLimit(const AddressSpaceLimit &) = delete;
    AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

private:
    unsigned long long saved_ = 0;
    bool active_ = false;
};

} // namespace testsupport
