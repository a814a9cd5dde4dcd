#include "TestSupport.h"
#include "platform/UserFiles.h"
#include "settings/WinSys.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

// The text as an editor saves it with a byte order mark.
QByteArray withMark(QStringConverter::Encoding encoding, const QString &text)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

class tst_WinSys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void readsMissingAsEmptyWithoutCreating();
    void readsHandWrittenProfile_data();
    void readsHandWrittenProfile();
    void writingOneKeyKeepsEveryOtherLine_data();
    void writingOneKeyKeepsEveryOtherLine();
    void keepsChangesMadeByOthers();
    void writesOnlyUsersOwnProfile_data();
    void writesOnlyUsersOwnProfile();
    void cutsAtNul_data();
    void cutsAtNul();
    void failedWriteChangesNothing();
    void fullDiskLeavesOldProfile();

private:
    QString profile() const { return dir_->filePath(u"Tarnwick.ini"_s); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void tst_WinSys::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
}

void tst_WinSys::readsBackWhatWasWritten_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("TRUE") << u"TRUE"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("commas") << u"log,txt,bak"_s;
    QTest::newRow("leading and trailing blanks") << u"  txt  "_s;
    QTest::newRow("quotation marks") << u"\"txt\""_s;
    QTest::newRow("single quotes") << u"'txt'"_s;
    QTest::newRow("equals and semicolon") << u"a=b;c"_s;
    QTest::newRow("brackets") << u"[Tarnwick]"_s;
    QTest::newRow("backslashes") << u"C:\\logs\\"_s;
    QTest::newRow("Japanese") << u"ログ"_s;
    QTest::newRow("5,000 bytes") << QString(5000, u'e');
}

void tst_WinSys::readsBackWhatWasWritten()
{
    QFETCH(QString, value);
    WinSys::WriteIniString(profile(), u"Tarnwick"_s, u"FileExt"_s, value);
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"FileExt"_s), value);
    // A value written, an empty one too, is no missing key.
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"FileExt"_s, u"txt"_s), value);
    // Written again over itself, the value stays the same.
    WinSys::WriteIniString(profile(), u"Tarnwick"_s, u"FileExt"_s, value);
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"FileExt"_s), value);
    const QByteArray lineBreak = tarnwick::nativeLineBreak(); // of a new file
    QCOMPARE(readFile(profile()), "[Tarnwick]" + lineBreak + "FileExt=" + value.toUtf8() + lineBreak);
}

void tst_WinSys::readsMissingAsEmptyWithoutCreating()
{
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"OverWrite"_s), QString());
    QVERIFY(!QFile::exists(profile()));
    writeFile(profile(), "[Other]\nOverWrite=TRUE\n");
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"OverWrite"_s), QString());
    QCOMPARE(WinSys::ReadIniString(profile(), u"Other"_s, u"Scroll"_s), QString());
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"OverWrite"_s, u"TRUE"_s), u"TRUE"_s);
    QCOMPARE(WinSys::ReadIniString(profile(), u"Other"_s, u"Scroll"_s, u"TRUE"_s), u"TRUE"_s);
    writeFile(profile(), "[Other]\n;Scroll=FALSE\n");
    QCOMPARE(WinSys::ReadIniString(profile(), u"Other"_s, u"Scroll"_s, u"TRUE"_s), u"TRUE"_s);
}

void tst_WinSys::readsHandWrittenProfile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray windows = "; written by hand\r\n\r\n[Other]\r\nOverWrite=FALSE\r\n\r\n[Tarnwick]\r\nOverWrite=TRUE\r\n"
                               "; the scroll setting\r\nScroll=true\r\nFileExt=log\r\n\r\n[Later]\r\nFileExt=bak\r\n";
    QTest::newRow("CR LF, comments, other sections") << windows << u"OverWrite"_s << u"TRUE"_s;
    QTest::newRow("key after a comment") << windows << u"Scroll"_s << u"true"_s;
    QTest::newRow("section ends at the next") << windows << u"FileExt"_s << u"log"_s;
    QTest::newRow("LF line ends") << QByteArray("[Tarnwick]\nFileExt=txt\n") << u"FileExt"_s << u"txt"_s;
    QTest::newRow("no final line end") << QByteArray("[Tarnwick]\nFileExt=txt") << u"FileExt"_s << u"txt"_s;
    QTest::newRow("lower-case names") << QByteArray("[tarnwick]\noverwrite=TRUE\n") << u"OverWrite"_s << u"TRUE"_s;
    QTest::newRow("blanks around names") << QByteArray("  [ Tarnwick ]\n  Scroll =TRUE\n") << u"Scroll"_s << u"TRUE"_s;
    QTest::newRow("first of two entries") << QByteArray("[Tarnwick]\nScroll=TRUE\nScroll=FALSE\n") << u"Scroll"_s << u"TRUE"_s;
    QTest::newRow("value as written") << QByteArray("[Tarnwick]\nFileExt= txt \n") << u"FileExt"_s << u" txt "_s;
    QTest::newRow("commented-out key") << QByteArray("[Tarnwick]\n;Scroll=TRUE\n") << u"Scroll"_s << QString();
    const QString kana(1700, QChar(u'ロ'));
    QTest::newRow("5,100 bytes") << "[Tarnwick]\nPager1=" + kana.toUtf8() + "\n" << u"Pager1"_s << kana;
    const QString japanese = u"[Tarnwick]\r\nFileExt=ログ\r\n"_s;
    QTest::newRow("UTF-8 with byte order mark") << withMark(QStringConverter::Utf8, japanese) << u"FileExt"_s << u"ログ"_s;
    QTest::newRow("UTF-16 LE") << withMark(QStringConverter::Utf16LE, japanese) << u"FileExt"_s << u"ログ"_s;
    QTest::newRow("UTF-16 BE") << withMark(QStringConverter::Utf16BE, japanese) << u"FileExt"_s << u"ログ"_s;
    // Latin-1 is not UTF-8: read in the system's code page, whatever that makes of it.
    QTest::newRow("not UTF-8") << QByteArray("[Tarnwick]\nFileExt=caf\xE9\n") << u"FileExt"_s
                               << QString(QStringDecoder(QStringConverter::System)("caf\xE9"));
}

void tst_WinSys::readsHandWrittenProfile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    QFETCH(QString, value);
    writeFile(profile(), text);
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, key), value);
}

void tst_WinSys::writingOneKeyKeepsEveryOtherLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("value replaced")
        << QByteArray("; mine\r\n[Other]\r\nScroll=TRUE\r\n\r\n[Tarnwick]\r\nScroll=TRUE\r\nFileExt=log\r\n")
        << u"Scroll"_s << QByteArray("; mine\r\n[Other]\r\nScroll=TRUE\r\n\r\n[Tarnwick]\r\nScroll=FALSE\r\nFileExt=log\r\n");
    QTest::newRow("key of other letter case replaced") << QByteArray("[TARNWICK]\nscroll=1\n") << u"Scroll"_s
                                                       << QByteArray("[TARNWICK]\nScroll=FALSE\n");
    QTest::newRow("key added after the section's last key")
        << QByteArray("[Tarnwick]\r\nFileExt=log\r\n\r\n[Other]\r\nA=1\r\n") << u"Scroll"_s
        << QByteArray("[Tarnwick]\r\nFileExt=log\r\nScroll=FALSE\r\n\r\n[Other]\r\nA=1\r\n");
    QTest::newRow("key added to a section without line end")
        << QByteArray("[Tarnwick]\nFileExt=log") << u"Scroll"_s << QByteArray("[Tarnwick]\nFileExt=log\nScroll=FALSE\n");
    QTest::newRow("section added") << QByteArray("[Other]\r\nA=1\r\n") << u"Scroll"_s
                                   << QByteArray("[Other]\r\nA=1\r\n[Tarnwick]\r\nScroll=FALSE\r\n");
    const QByteArray lineBreak = tarnwick::nativeLineBreak(); // of a new file
    QTest::newRow("empty file") << QByteArray() << u"Scroll"_s << "[Tarnwick]" + lineBreak + "Scroll=FALSE" + lineBreak;
    QTest::newRow("UTF-8 with byte order mark") << withMark(QStringConverter::Utf8, u"[Tarnwick]\r\nScroll=TRUE\r\nFileExt=ログ\r\n"_s)
                                                << u"Scroll"_s
                                                << withMark(QStringConverter::Utf8, u"[Tarnwick]\r\nScroll=FALSE\r\nFileExt=ログ\r\n"_s);
    QTest::newRow("UTF-16 LE, key added") << withMark(QStringConverter::Utf16LE, u"[Tarnwick]\r\nFileExt=ログ\r\n"_s) << u"Scroll"_s
                                          << withMark(QStringConverter::Utf16LE, u"[Tarnwick]\r\nFileExt=ログ\r\nScroll=FALSE\r\n"_s);
    QTest::newRow("UTF-16 BE, value replaced") << withMark(QStringConverter::Utf16BE, u"[Tarnwick]\nScroll=TRUE\nFileExt=ログ\n"_s) << u"Scroll"_s
                                               << withMark(QStringConverter::Utf16BE, u"[Tarnwick]\nScroll=FALSE\nFileExt=ログ\n"_s);
    QTest::newRow("UTF-16 BE, section added without line end")
        << withMark(QStringConverter::Utf16BE, u"[Other]\nA=ロ"_s) << u"Scroll"_s
        << withMark(QStringConverter::Utf16BE, u"[Other]\nA=ロ\n[Tarnwick]\nScroll=FALSE\n"_s);
    QTest::newRow("not UTF-8") << QByteArray("[Tarnwick]\nPager1=caf\xE9\nScroll=TRUE\n") << u"Scroll"_s
                               << QByteArray("[Tarnwick]\nPager1=caf\xE9\nScroll=FALSE\n");
}

void tst_WinSys::writingOneKeyKeepsEveryOtherLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    writeFile(profile(), before);
    WinSys::WriteIniString(profile(), u"Tarnwick"_s, key, u"FALSE"_s);
    QCOMPARE(readFile(profile()), after);
}

void tst_WinSys::keepsChangesMadeByOthers()
{
    writeFile(profile(), "[Tarnwick]\nOverWrite=TRUE\n");
    // Another instance writes its key in the meantime.
    writeFile(profile(), readFile(profile()) + "Scroll=TRUE\n");
    WinSys::WriteIniString(profile(), u"Tarnwick"_s, u"FileExt"_s, u"txt"_s);
    QCOMPARE(readFile(profile()), QByteArray("[Tarnwick]\nOverWrite=TRUE\nScroll=TRUE\nFileExt=txt\n"));
}

void tst_WinSys::writesOnlyUsersOwnProfile_data()
{
    QTest::addColumn<bool>("throughLink"); // the profile is a symbolic link to the file
    QTest::addColumn<QFile::Permissions>("mode");
    QTest::addColumn<QString>("owner"); // as chown gives it: "user:group", ":group"; empty for none
    QTest::addColumn<QString>("value");
    QTest::addColumn<WinSys::ProfileState>("state");
    QTest::addColumn<bool>("written");

    const QFile::Permissions ownerWrites = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QString nobody = u"65534:65534"_s;
    QTest::newRow("0640 of another group") << false << ownerWrites << u":65534"_s << u"txt"_s << WinSys::ProfileState::Usable << true;
    QTest::newRow("link to the user's file") << true << ownerWrites << QString() << u"txt"_s << WinSys::ProfileState::Usable << true;
    QTest::newRow("0444") << false << readOnly << QString() << u"txt"_s << WinSys::ProfileState::ReadOnly << false;
    QTest::newRow("another user's file") << false << ownerWrites << nobody << u"txt"_s << WinSys::ProfileState::OtherUsersFile << false;
    QTest::newRow("link to another user's file") << true << ownerWrites << nobody << u"txt"_s << WinSys::ProfileState::LinkToOtherUsersFile << false;
    // A larger profile would not be read at all.
    QTest::newRow("value beyond the file's bound") << false << ownerWrites << QString() << QString(WinSys::maxProfileBytes, u'e')
                                                   << WinSys::ProfileState::Usable << false;
}

void tst_WinSys::writesOnlyUsersOwnProfile()
{
    QFETCH(bool, throughLink);
    QFETCH(QFile::Permissions, mode);
    QFETCH(QString, owner);
    QFETCH(QString, value);
    QFETCH(WinSys::ProfileState, state);
    QFETCH(bool, written);
    const QString file = throughLink ? dir_->filePath(u"elsewhere.ini"_s) : profile();
    const QByteArray before = "[Tarnwick]\nFileExt=log\n";
    writeFile(file, before);
    // Windows makes a shortcut instead, which is no link to the system.
    if (throughLink && !(QFile::link(file, profile()) && QFileInfo(profile()).isSymbolicLink()))
        QSKIP("the system makes no symbolic link here");
    QVERIFY(QFile::setPermissions(file, mode));
    if (!owner.isEmpty() && (!runsAsRoot() || QProcess::execute(u"chown"_s, {u"-h"_s, owner, file}) != 0))
        QSKIP("needs root to give the file to another user or group");
    const auto metadata = [&] {
        const QFileInfo info(file);
        return std::tuple(info.permissions(), info.ownerId(), info.groupId());
    };
    const auto kept = metadata();

    QCOMPARE(WinSys::profileState(profile()), state);
    QCOMPARE(WinSys::ReadIniString(profile(), u"Tarnwick"_s, u"FileExt"_s), u"log"_s);
    WinSys::WriteIniString(profile(), u"Tarnwick"_s, u"FileExt"_s, value);
    QCOMPARE(readFile(file), written ? "[Tarnwick]\nFileExt=" + value.toUtf8() + "\n" : before);
    QCOMPARE(metadata(), kept);
    QCOMPARE(QFileInfo(profile()).isSymLink(), throughLink);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::System).size(), throughLink ? 2 : 1);
}

void tst_WinSys::cutsAtNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cut");
    QTest::newRow("no NUL") << u"txt"_s << u"txt"_s;
    QTest::newRow("NUL inside") << QString::fromUtf8("tx\0t", 4) << u"tx"_s;
    QTest::newRow("NUL first") << QString::fromUtf8("\0txt", 4) << QString();
    QTest::newRow("empty") << QString() << QString();
}

void tst_WinSys::cutsAtNul()
{
    QFETCH(QString, text);
    QFETCH(QString, cut);
    QCOMPARE(WinSys::CutAtNul(text), cut);
}

void tst_WinSys::failedWriteChangesNothing()
{
    // A "folder" that is a file cannot hold a profile, whoever runs the test.
    writeFile(dir_->filePath(u"plain-file"_s), "not a folder");
    const QString impossible = dir_->filePath(u"plain-file/Tarnwick.ini"_s);
    WinSys::WriteIniString(impossible, u"Tarnwick"_s, u"Scroll"_s, u"TRUE"_s);
    QCOMPARE(WinSys::ReadIniString(impossible, u"Tarnwick"_s, u"Scroll"_s), QString());
    QCOMPARE(readFile(dir_->filePath(u"plain-file"_s)), QByteArray("not a folder"));
}

void tst_WinSys::fullDiskLeavesOldProfile()
{
    const SmallDisk disk(dir_->filePath(u"small"_s), 16);
    if (!disk.mounted())
        QSKIP("needs root to mount a small tmpfs");
    const QString ini = dir_->filePath(u"small/Tarnwick.ini"_s);
    writeFile(ini, "[Tarnwick]\nFileExt=log\n");
    QFile filler(dir_->filePath(u"small/filler"_s));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) > 0) {
    }
    WinSys::WriteIniString(ini, u"Tarnwick"_s, u"FileExt"_s, u"txt"_s);
    QCOMPARE(readFile(ini), QByteArray("[Tarnwick]\nFileExt=log\n"));
    QCOMPARE(QDir(dir_->filePath(u"small"_s)).entryList(QDir::Files), (QStringList{u"filler"_s, u"Tarnwick.ini"_s}));
}

QTEST_GUILESS_MAIN(tst_WinSys)
#include "tst_winsys.moc"
