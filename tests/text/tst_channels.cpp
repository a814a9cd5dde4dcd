#include "TestSupport.h"
#include "platform/TemporaryFile.h"
#include "text/TextInput.h"
#include "text/TextOutput.h"

#include <QtTest>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using tarnwick::TextInput;
using tarnwick::TextOutput;
using namespace testsupport;
using namespace Qt::StringLiterals;

class tst_Channels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBlocksOfTheWholeFile();
    void reportsInputThatCannotBeOpened_data();
    void reportsInputThatCannotBeOpened();
    void writesThroughSmallAndLargeBuffers();
    void safeOutputReplacesOnlyOnCommit_data();
    void safeOutputReplacesOnlyOnCommit();
    void safeOutputKeepsOldFileWhenDiskFills();
    void temporaryFileLeavesWhatStandsAtItsName_data();
    void temporaryFileLeavesWhatStandsAtItsName();
    void removesOnlyLeftoverTemporaryFiles();
    void replacementKeepsOwnerProtectionAndAttributes_data();
    void replacementKeepsOwnerProtectionAndAttributes();
    void refusesReadOnlyOutput();
    void writesDevicesDirectly();
    void reportsOutputThatCannotBeCreated();

private:
    QTemporaryDir dir_;
};

void tst_Channels::readsBlocksOfTheWholeFile()
{
    const QByteArray text = times("line\r\n", 1000);
    const QString path = dir_.filePath(u"blocks"_s);
    writeFile(path, text);
    TextInput input(100);
    QVERIFY(input.open(path));
    QByteArray read;
    for (std::string_view block; !(block = input.readBlock()).empty();) {
        QVERIFY(block.size() <= 100);
        read.append(block.data(), static_cast<qsizetype>(block.size()));
    }
    QVERIFY(input.atEnd());
    QCOMPARE(read, text);
}

void tst_Channels::reportsInputThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << dir_.filePath(u"missing.log"_s) << u"No such file or directory"_s;
    QTest::newRow("missing folder") << dir_.filePath(u"nowhere/r1.log"_s) << u"No such file or directory"_s;
    QTest::newRow("folder") << dir_.path() << u"directory"_s;
}

void tst_Channels::reportsInputThatCannotBeOpened()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    TextInput input;
    QVERIFY(!input.open(path));
    QVERIFY(input.failed());
    QVERIFY2(input.errorString().contains(reason), qPrintable(input.errorString()));
    QVERIFY(input.atEnd());
}

void tst_Channels::writesThroughSmallAndLargeBuffers()
{
    const QString path = dir_.filePath(u"written"_s);
    QByteArray expected;
    TextOutput output(8);
    QVERIFY(output.open(path));
    for (const QByteArray &piece : {QByteArray("ab"), QByteArray(), times("z", 8), QByteArray("0123456"), times("long", 50)}) {
        output.writeLine(piece.toStdString());
        expected += piece + "\r\n";
    }
    output.write("tail");
    expected += "tail";
    QVERIFY(output.commit());
    QCOMPARE(readFile(path), expected);
}

void tst_Channels::safeOutputReplacesOnlyOnCommit_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a short name") << u"out.txt"_s;
    // The new file beside it must not need a longer name than the system allows.
    QTest::newRow("a name of 255 bytes") << QString(251, u'r') + u".txt"_s;
}

void tst_Channels::safeOutputReplacesOnlyOnCommit()
{
    QFETCH(QString, name);
    const QString folder = u"safe-"_s + QString::number(name.size());
    QVERIFY(QDir(dir_.path()).mkdir(folder));
    const QString path = dir_.filePath(folder + u'/' + name);
    writeFile(path, "old contents\r\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    {
        TextOutput output;
        QVERIFY(output.open(path));
        output.writeLine("new");
        QCOMPARE(readFile(path), QByteArray("old contents\r\n"));
        output.discard();
    }
    QCOMPARE(readFile(path), QByteArray("old contents\r\n"));
    {
        TextOutput output;
        QVERIFY(output.open(path));
        output.writeLine("new");
    } // destroyed without commit
    QCOMPARE(readFile(path), QByteArray("old contents\r\n"));

    TextOutput output;
    QVERIFY(output.open(path));
    output.writeLine("new");
    QVERIFY(output.commit());
    QCOMPARE(readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup), QFile::ReadGroup);
    QCOMPARE(QDir(dir_.filePath(folder)).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void tst_Channels::safeOutputKeepsOldFileWhenDiskFills()
{
    const SmallDisk disk(dir_.filePath(u"small"_s), 64);
    if (!disk.mounted())
        QSKIP("needs root to mount a small tmpfs");
    const QString path = dir_.filePath(u"small/out.txt"_s);
    writeFile(path, "old\r\n");

    TextOutput output(4096);
    QVERIFY(output.open(path));
    for (int i = 0; i < 10000 && !output.failed(); ++i)
        output.writeLine("a line that will not fit on the disk");
    QVERIFY(!output.commit());
    QVERIFY2(output.errorString().contains(u"No space left on device"_s), qPrintable(output.errorString()));
    QCOMPARE(readFile(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir_.filePath(u"small"_s)).entryList(QDir::Files), QStringList{u"out.txt"_s});
}

void tst_Channels::temporaryFileLeavesWhatStandsAtItsName_data()
{
    QTest::addColumn<QString>("planted"); // what stands at the name: link, null, fifo, file or nothing

    QTest::newRow("nothing") << u"nothing"_s;
    QTest::newRow("link to another file") << u"link"_s;
    QTest::newRow("link to /dev/null") << u"null"_s;
    QTest::newRow("FIFO") << u"fifo"_s;
    QTest::newRow("another instance's file") << u"file"_s;
}

void tst_Channels::temporaryFileLeavesWhatStandsAtItsName()
{
    QFETCH(QString, planted);
    const QTemporaryDir dir;
    const QString name = dir.filePath(u"Tarnwick-0000ABCD.tmp"_s);
    const QString victim = dir.filePath(u"victim.txt"_s);
    writeFile(victim, "precious\r\n");
    if (planted == u"link"_s)
        QVERIFY(QFile::link(victim, name));
    else if (planted == u"null"_s)
        QVERIFY(QFile::link(u"/dev/null"_s, name));
    else if (planted == u"fifo"_s)
        QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0666), 0);
    else if (planted == u"file"_s)
        writeFile(name, "in use\r\n");
    const QFileInfo before(name);

    tarnwick::TemporaryFile temporary;
    QVERIFY2(temporary.create(name), qPrintable(temporary.errorString()));
    QCOMPARE(temporary.path() == name, planted == u"nothing"_s);
    QCOMPARE(QFileInfo(temporary.path()).fileName().size(), QFileInfo(name).fileName().size());
    QCOMPARE(temporary.file().write("written\r\n"), qint64(9));
    QVERIFY(temporary.file().seek(0));
    QCOMPARE(temporary.file().readAll(), QByteArray("written\r\n"));
    QCOMPARE(QFile::permissions(temporary.path()) & ~(QFile::ReadUser | QFile::WriteUser), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(temporary.remove());

    QCOMPARE(readFile(victim), QByteArray("precious\r\n"));
    QCOMPARE(QFileInfo(name).isSymLink(), before.isSymLink());
    QCOMPARE(QFileInfo::exists(name) || QFileInfo(name).isSymLink(), planted != u"nothing"_s);
    if (planted == u"file"_s)
        QCOMPARE(readFile(name), QByteArray("in use\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), planted == u"nothing"_s ? 1 : 2);
}

void tst_Channels::removesOnlyLeftoverTemporaryFiles()
{
    const QTemporaryDir dir;
    const auto make = [&](const QString &name, int ageSeconds) {
        writeFile(dir.filePath(name), "x");
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    make(u"Tarnwick-00000001.tmp"_s, 3600); // left by a power cut
    make(u"Tarnwick-00000002.tmp"_s, 3600); // held by a running instance
    make(u"Tarnwick-00000003.tmp"_s, 0);    // just created, not yet held
    make(u"Tarnwick-1.tmp"_s, 3600);        // not a name the program gives
    make(u"Tarnwick-0000abcd.tmp"_s, 3600); // nor this
    make(u"notes.txt"_s, 3600);
    QVERIFY(QFile::link(dir.filePath(u"notes.txt"_s), dir.filePath(u"Tarnwick-00000004.tmp"_s)));
    QFile held(dir.filePath(u"Tarnwick-00000002.tmp"_s));
    QVERIFY(held.open(QIODevice::ReadOnly));
    QCOMPARE(flock(held.handle(), LOCK_EX | LOCK_NB), 0);

    tarnwick::removeLeftoverTemporaryFiles(dir.path());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase),
             (QStringList{u"notes.txt"_s, u"Tarnwick-00000002.tmp"_s, u"Tarnwick-00000003.tmp"_s, u"Tarnwick-00000004.tmp"_s,
                          u"Tarnwick-0000abcd.tmp"_s, u"Tarnwick-1.tmp"_s}));
}

void tst_Channels::replacementKeepsOwnerProtectionAndAttributes_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("the file") << false;
    QTest::newRow("a symbolic link to it") << true;
}

void tst_Channels::replacementKeepsOwnerProtectionAndAttributes()
{
    QFETCH(bool, throughLink);
    if (!runsAsRoot())
        QSKIP("needs root to give the file to another user");
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"r1.txt"_s);
    const QByteArray name = QFile::encodeName(path);
    writeFile(path, "old\r\n");
    QCOMPARE(chown(name.constData(), 1234, 2345), 0);
    QCOMPARE(chmod(name.constData(), 02640), 0);
    if (setxattr(name.constData(), "user.origin", "router1", 7, 0) != 0)
        QSKIP("the temporary folder's file system keeps no user attributes");
    if (QProcess::execute(u"setfacl"_s, {u"-m"_s, u"u:4321:r"_s, path}) != 0)
        QSKIP("the temporary folder's file system keeps no ACL (or setfacl is missing)");
    const auto acl = [](const QString &file) {
        QProcess getfacl;
        getfacl.start(u"getfacl"_s, {u"-cn"_s, file});
        getfacl.waitForFinished();
        return getfacl.readAllStandardOutput();
    };
    const QByteArray aclBefore = acl(path);
    const QString target = throughLink ? dir.filePath(u"link.txt"_s) : path;
    if (throughLink)
        QVERIFY(QFile::link(path, target));

    TextOutput output;
    QVERIFY(output.open(target));
    output.writeLine("new");
    QVERIFY(output.commit());

    QCOMPARE(readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QFileInfo(target).isSymLink(), throughLink);
    struct stat status {};
    QCOMPARE(stat(name.constData(), &status), 0);
    QCOMPARE(status.st_uid, uid_t(1234));
    QCOMPARE(status.st_gid, gid_t(2345));
    QCOMPARE(status.st_mode & 07777, mode_t(02640));
    QCOMPARE(acl(path), aclBefore);
    char value[16] = {};
    QCOMPARE(getxattr(name.constData(), "user.origin", value, sizeof value), ssize_t(7));
    QCOMPARE(QByteArray(value), QByteArray("router1"));
}

void tst_Channels::refusesReadOnlyOutput()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"r1.txt"_s);
    writeFile(path, "old\r\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    TextOutput output;
    QVERIFY(!output.open(path));
    QCOMPARE(output.errorString(), u"the file is read-only"_s);
    QCOMPARE(readFile(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"r1.txt"_s});
}

void tst_Channels::writesDevicesDirectly()
{
    TextOutput toNull;
    QVERIFY(toNull.open(u"/dev/null"_s));
    toNull.writeLine("discarded");
    QVERIFY(toNull.commit());
    struct stat status {};
    QCOMPARE(stat("/dev/null", &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));

    TextOutput toFull(16);
    QVERIFY(toFull.open(u"/dev/full"_s));
    toFull.writeLine("more than sixteen bytes of text");
    QVERIFY(!toFull.commit());
    QVERIFY2(toFull.errorString().contains(u"No space left on device"_s), qPrintable(toFull.errorString()));
    QCOMPARE(stat("/dev/full", &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));
}

void tst_Channels::reportsOutputThatCannotBeCreated()
{
    TextOutput output;
    QVERIFY(!output.open(dir_.filePath(u"nowhere/out.txt"_s)));
    QVERIFY(output.failed());
    QVERIFY2(output.errorString().contains(u"No such file or directory"_s), qPrintable(output.errorString()));
    QVERIFY(!output.commit());
}

QTEST_GUILESS_MAIN(tst_Channels)
#include "tst_channels.moc"
