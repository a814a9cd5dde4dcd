#include "TestSupport.h"
#include "conversion/ConversionRun.h"
#include "batch/Messages.h"
#include "conversion/OutputName.h"
#include "platform/ProgramArguments.h"
#include "platform/TemporaryFile.h"
#include "text/TextOutput.h"
#include "platform/WideName_windows.h"
#include "settings/WinSys.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <windows.h>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

class Host : public tarnwick::RunHost {
public:
    void showProgress(const QString &) override {}
    void processEvents() override {}
    bool scrollOn() const override { return false; }
};

} // namespace

// What the Windows program does differently from the Linux one.
class tst_Windows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutsNamesAtEitherSeparator_data();
    void cutsNamesAtEitherSeparator();
    void writesProfileWithCrLf();
    void refusesReadOnlyAttribute();
    void holdsTemporaryFile();
    void convertsJapaneseName();
    void writesStandardOutputAsBytes();
    void expandsWildcards_data();
    void expandsWildcards();
    void consoleProgramWaitsWithStatus_data();
    void consoleProgramWaitsWithStatus();
    void windowProgramWritesWhereRead_data();
    void windowProgramWritesWhereRead();

private:
    QTemporaryDir dir_;
};

void tst_Windows::cutsNamesAtEitherSeparator_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("base");
    QTest::newRow("backslashes") << u"C:\\my.logs\\r1.log"_s << u"C:\\my.logs\\r1"_s;
    QTest::newRow("slashes") << u"C:/my.logs/r1.log"_s << u"C:/my.logs/r1"_s;
    QTest::newRow("mixed") << u"C:/my.logs\\r1.log.bak"_s << u"C:/my.logs\\r1"_s;
}

void tst_Windows::cutsNamesAtEitherSeparator()
{
    QFETCH(QString, source);
    QFETCH(QString, base);
    QCOMPARE(tarnwick::outputBase(source), base);
}

void tst_Windows::writesProfileWithCrLf()
{
    const QString profile = dir_.filePath(u"new/Tarnwick.ini"_s);
    WinSys::WriteIniString(profile, u"Tarnwick"_s, u"FileExt"_s, u"txt"_s);
    QCOMPARE(readFile(profile), QByteArray("[Tarnwick]\r\nFileExt=txt\r\n"));
    QCOMPARE(WinSys::ReadIniString(profile, u"Tarnwick"_s, u"FileExt"_s), u"txt"_s);
}

void tst_Windows::refusesReadOnlyAttribute()
{
    const QString path = dir_.filePath(u"read-only.txt"_s);
    writeFile(path, "kept\r\n");
    QVERIFY(SetFileAttributesW(tarnwick::wideName(QDir::toNativeSeparators(path)), FILE_ATTRIBUTE_READONLY));
    tarnwick::TextOutput output;
    QVERIFY(!output.open(path));
    QVERIFY(output.refusedReadOnly());
    SetFileAttributesW(tarnwick::wideName(QDir::toNativeSeparators(path)), FILE_ATTRIBUTE_NORMAL);
    QCOMPARE(readFile(path), QByteArray("kept\r\n"));
}

void tst_Windows::holdsTemporaryFile()
{
    const QString path = dir_.filePath(tarnwick::temporaryFileName(0x1234));
    {
        tarnwick::TemporaryFile temporary;
        QVERIFY(temporary.create(path));
        // Held without FILE_SHARE_DELETE: nothing else deletes it while the run lives.
        QVERIFY(!DeleteFileW(tarnwick::wideName(QDir::toNativeSeparators(path))));
        QVERIFY(QFile::exists(path));
        tarnwick::removeLeftoverTemporaryFiles(dir_.path());
        QVERIFY(QFile::exists(path));
        QVERIFY(temporary.remove());
    }
    QVERIFY(!QFile::exists(path));
}

void tst_Windows::convertsJapaneseName()
{
    QVERIFY(QDir(dir_.path()).mkpath(u"ログ"_s));
    const QString source = dir_.filePath(u"ログ/ルーター1.log"_s);
    writeFile(source, "R1#shpw\b\bow run\n");
    Host host;
    const auto outcome = tarnwick::ConversionRun({source, dir_.filePath(u"ログ/ルーター1.txt"_s), dir_.filePath(u"Tarnwick-00000001.tmp"_s)},
                                                 tarnwick::CharacterRule::ShiftJis, host)
                             .run();
    QVERIFY2(outcome.status == tarnwick::RunOutcome::Status::Completed, qPrintable(tarnwick::failureSentence(outcome, tarnwick::Language::English)));
    QCOMPARE(readFile(dir_.filePath(u"ログ/ルーター1.txt"_s)), QByteArray("R1#show run\r\n"));
}

// CR LF written once: no text-mode translation on the way out.
void tst_Windows::writesStandardOutputAsBytes()
{
    const QString source = dir_.filePath(u"pipe.log"_s);
    writeFile(source, "a\b b\r\nc\n");
    QProcess program;
    program.start(QStringLiteral(TARNWICK_EXECUTABLE), {u"-c"_s, source});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardOutput(), QByteArray(" b\r\nc\r\n"));
}

void tst_Windows::expandsWildcards_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("star, sorted by name, folders left out") << u"*.log"_s << QStringList{u"ab[1].log"_s, u"r1.log"_s, u"r10.log"_s, u"R2.LOG"_s};
    QTest::newRow("in any case") << u"*.LOG"_s << QStringList{u"ab[1].log"_s, u"r1.log"_s, u"r10.log"_s, u"R2.LOG"_s};
    QTest::newRow("question mark: one character") << u"r?.log"_s << QStringList{u"r1.log"_s, u"R2.LOG"_s};
    QTest::newRow("brackets are a name") << u"ab[1]*"_s << QStringList{u"ab[1].log"_s};
    QTest::newRow("no wildcard") << u"ab[1].log"_s << QStringList{u"ab[1].log"_s};
    QTest::newRow("no match: as given") << u"x*.log"_s << QStringList{u"x*.log"_s};
    QTest::newRow("in the folder part: as given") << u"s*\\r1.log"_s << QStringList{u"s*\\r1.log"_s};
}

void tst_Windows::expandsWildcards()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, names);
    const QTemporaryDir dir;
    for (const QString &name : {u"r1.log"_s, u"R2.LOG"_s, u"r10.log"_s, u"ab[1].log"_s, u"notes.txt"_s})
        writeFile(dir.filePath(name), "x\n");
    QVERIFY(QDir(dir.path()).mkdir(u"sub.log"_s));
    const QString folder = QDir::toNativeSeparators(dir.path()) + u'\\';
    QStringList expected;
    for (const QString &name : std::as_const(names))
        expected.append(folder + name);
    QCOMPARE(tarnwick::expandedLogNames({folder + pattern}), expected);
}

// The console program run from a batch file, as cmd.exe runs it: the next line sees what it did
// and its exit status.
void tst_Windows::consoleProgramWaitsWithStatus_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("converted");
    QTest::newRow("converted") << u"r1.log"_s << 0 << true;
    QTest::newRow("by wildcard, quoted") << u"\"r*.log\""_s << 0 << true;
    QTest::newRow("a folder, two at once") << u"-j 2 -r ."_s << 0 << true;
    QTest::newRow("into an output folder") << u"-o out ."_s << 0 << false;
    QTest::newRow("not converted") << u"missing.log"_s << 1 << false;
    QTest::newRow("usage error") << u"--bogus r1.log"_s << 2 << false;
}

void tst_Windows::consoleProgramWaitsWithStatus()
{
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(bool, converted);
    const QTemporaryDir dir;
    writeFile(dir.filePath(u"r1.log"_s), "a\b b\n");
    const QString script = dir.filePath(u"run.bat"_s);
    writeFile(script, u"@\"%1\" %2 2>nul\r\n@if exist r1.txt (echo made %ERRORLEVEL%) else (echo none %ERRORLEVEL%)\r\n"_s
                          .arg(QDir::toNativeSeparators(QStringLiteral(TARNWICK_CONSOLE_EXECUTABLE)), arguments)
                          .toLocal8Bit());
    QProcess cmd;
    cmd.setWorkingDirectory(dir.path());
    cmd.start(u"cmd.exe"_s, {u"/c"_s, QDir::toNativeSeparators(script)});
    QVERIFY(cmd.waitForFinished(60000));
    QCOMPARE(QString::fromLocal8Bit(cmd.readAllStandardOutput()).trimmed(), u"%1 %2"_s.arg(converted ? u"made"_s : u"none"_s).arg(status));
}

// Redirected, the window program's words go to the streams, never into a box.
void tst_Windows::windowProgramWritesWhereRead_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("onStandardError");
    QTest::newRow("usage error") << u"--bogus"_s << 2 << true;
    QTest::newRow("help") << u"--help"_s << 0 << false;
    QTest::newRow("version") << u"--version"_s << 0 << false;
}

void tst_Windows::windowProgramWritesWhereRead()
{
    QFETCH(QString, argument);
    QFETCH(int, status);
    QFETCH(bool, onStandardError);
    QProcess program;
    program.start(QStringLiteral(TARNWICK_EXECUTABLE), {argument});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), status);
    QVERIFY((onStandardError ? program.readAllStandardError() : program.readAllStandardOutput()).toLower().contains("tarnwick"));
}

QTEST_GUILESS_MAIN(tst_Windows)
#include "tst_windows.moc"
