#include "TestSupport.h"

#include <QProcess>
#include <QtTest>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// A program started with TARNWICK_TEST_PAUSE held at its pause point, so that the test acts while
// the run is known to stand there: the FIFO is opened to read before the program starts, the
// program writes to it on arriving, and it goes on once the FIFO has been opened to write.
class PausePoint {
public:
    PausePoint(const QString &fifo, const QString &point)
        : fifo_(QFile::encodeName(fifo))
        , setting_(point + u':' + fifo)
    {
        // Open to read before the program starts, so that its opening to write does not wait; a
        // FIFO that no writer has opened yet polls as empty, not as ended.
        if (::mkfifo(fifo_.constData(), 0600) != 0 || (reader_ = ::open(fifo_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0)
            qFatal("cannot make the FIFO of the pause point");
    }
    ~PausePoint()
    {
        if (reader_ >= 0)
            ::close(reader_);
    }
    PausePoint(const PausePoint &) = delete;
    PausePoint &operator=(const PausePoint &) = delete;

    void holdIn(QProcessEnvironment &environment) const { environment.insert(u"TARNWICK_TEST_PAUSE"_s, setting_); }
    // Waits for the program's line in the FIFO or for the program's end, whichever comes; false
    // for its end. The test's end of the FIFO is closed then, so that release() meets the
    // program's own.
    bool reached(QProcess &process)
    {
        const int ended = int(::syscall(SYS_pidfd_open, pid_t(process.processId()), 0));
        pollfd waited[2] = {{reader_, POLLIN, 0}, {ended, POLLIN, 0}};
        const bool told = ::poll(waited, ended >= 0 ? 2 : 1, -1) > 0 && (waited[0].revents & POLLIN);
        if (ended >= 0)
            ::close(ended);
        char line[64] = {};
        if (!told || ::read(reader_, line, sizeof line - 1) <= 0)
            return false;
        ::close(std::exchange(reader_, -1));
        thread_ = std::atoi(std::strchr(line, ':') + 1);
        return true;
    }
    // A signal to the thread held: it runs the handler before it goes on. One sent to the process
    // may wait there for another thread to be scheduled, while the held one finishes its log.
    void signalHeld(QProcess &process, int signal) const { ::syscall(SYS_tgkill, pid_t(process.processId()), thread_, signal); }
    // The program waits for a writer with the FIFO open to read, and this waits for that reader:
    // with the test's own end closed, neither open can go through before the other.
    void release() const
    {
        if (const int writer = ::open(fifo_.constData(), O_WRONLY | O_CLOEXEC); writer >= 0)
            ::close(writer);
    }

private:
    QByteArray fifo_;
    QString setting_;
    int reader_ = -1;
    pid_t thread_ = 0;
};

} // namespace

// The program as a user runs it: a copy of the executable in a folder of its own (which is then
// the program folder, holding its profile and temporary file), with no display.
class tst_Batch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void printsHelpAndVersion_data();
    void printsHelpAndVersion();
    void takesOptionsBeforeLogsOnly_data();
    void takesOptionsBeforeLogsOnly();
    void runOptionsLeaveProfileAlone_data();
    void runOptionsLeaveProfileAlone();
    void masksWhereTheSettingsSay_data();
    void masksWhereTheSettingsSay();
    void writesToStandardOutput();
    void filtersPipeAsItComes();
    void followsLogAsItGrows();
    void takesTheScreenHeight_data();
    void takesTheScreenHeight();
    void keepsTheUsersTimestamps_data();
    void keepsTheUsersTimestamps();
    void refusesNameThatCannotBeCarried();
    void convertsEveryPath();
    void takesFoldersOfLogs_data();
    void takesFoldersOfLogs();
    void convertsAtOnceAsInTurn();
    void cleansReadOnlyTreeIntoOutputFolder();
    void reportsFailingFileAndGoesOn_data();
    void reportsFailingFileAndGoesOn();
    void findsEncodingUnderEitherLocale_data();
    void findsEncodingUnderEitherLocale();
    void refusesToReplaceWhatItMustKeep_data();
    void refusesToReplaceWhatItMustKeep();
    void leavesProfileThatIsNoFileAlone_data();
    void leavesProfileThatIsNoFileAlone();
    void needsDisplayOrPaths_data();
    void needsDisplayOrPaths();
    void twoInstancesRunAtOnce();
    void installedProgramUsesUserFolders_data();
    void installedProgramUsesUserFolders();
    void endingSignalLeavesNothing_data();
    void endingSignalLeavesNothing();
    void refusesWhatChangedDuringTheRun_data();
    void refusesWhatChangedDuringTheRun();
    void refusesToWriteOntoItsLog_data();
    void refusesToWriteOntoItsLog();
    void lineTooLongForMemoryFailsItsLogAlone();
    void loadsWindowLibrariesOnlyForWindow_data();
    void loadsWindowLibrariesOnlyForWindow();

private:
    QString install(const QString &folder)
    {
        QDir().mkpath(folder);
        const QString program = folder + u"/tarnwick"_s;
        QFile::remove(program);
        if (!QFile::copy(QStringLiteral(TARNWICK_EXECUTABLE), program))
            qFatal("cannot copy the program");
        return program;
    }
    // No display, and system folders of the test's own.
    QProcessEnvironment withoutDisplay() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"TMPDIR"_s, path(u"tmp"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, path(u"runtime"_s));
        return environment;
    }
    Result run(const QStringList &arguments) { return run(arguments, withoutDisplay()); }
    Result run(const QStringList &arguments, const QProcessEnvironment &environment)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program_, arguments);
        if (!process.waitForFinished(120000))
            qFatal("the program did not end");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QString path(const QString &name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    QString program_;
};

void tst_Batch::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    program_ = install(path(u"bin"_s));
    QDir().mkpath(path(u"tmp"_s));
    QDir().mkpath(path(u"runtime"_s));
    QFile::setPermissions(path(u"runtime"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(path(u"bin/Tarnwick.ini"_s), "[Tarnwick]\nFileExt=txt\n");
}

void tst_Batch::printsHelpAndVersion_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << u"--version"_s << u"Tarnwick 1.20\n"_s;
    QTest::newRow("help") << u"--help"_s << u"Usage: tarnwick [options] [LOG...]"_s;
    QTest::newRow("help, single dash") << u"-help"_s << u"Usage: tarnwick [options] [LOG...]"_s;
}

void tst_Batch::printsHelpAndVersion()
{
    QFETCH(QString, option);
    QFETCH(QString, output);
    const Result result = run({option});
    QCOMPARE(result.status, 0);
    QVERIFY(result.out.startsWith(output));
    QCOMPARE(result.err, QString());
    if (option.endsWith(u"help"_s)) {
        for (const QString &named : {u"--version"_s, u"-c, --stdout"_s, u"--overwrite"_s, u"--no-overwrite"_s, u"--scroll"_s,
                                     u"--no-scroll"_s, u"--controls"_s, u"--no-controls"_s, u"--ext <EXT>"_s, u"--encoding <ENCODING>"_s, u"Exit status"_s, u"128+n"_s})
            QVERIFY2(result.out.contains(named), qPrintable(named));
    }
}

void tst_Batch::takesOptionsBeforeLogsOnly_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("converted"); // r1.log into r1.txt

    QTest::newRow("Qt's -style") << QStringList{u"-style"_s, u"b"_s, u"@/r1.log"_s} << 2 << u"tarnwick: unknown option '-style' (see tarnwick --help)\n"_s << false;
    QTest::newRow("Qt's -platform") << QStringList{u"-platform"_s, u"x"_s, u"@/r1.log"_s} << 2 << u"tarnwick: unknown option '-platform' (see tarnwick --help)\n"_s << false;
    QTest::newRow("unknown long option") << QStringList{u"--reverse"_s, u"@/r1.log"_s} << 2 << u"tarnwick: unknown option '--reverse' (see tarnwick --help)\n"_s << false;
    QTest::newRow("missing value") << QStringList{u"@/r1.log"_s, u"--ext"_s} << 1 << u"tarnwick: --ext: cannot open: No such file or directory\n"_s << true;
    QTest::newRow("option after a log is a path") << QStringList{u"@/r1.log"_s, u"--help"_s} << 1 << u"tarnwick: --help: cannot open: No such file or directory\n"_s << true;
    QTest::newRow("after --, a path") << QStringList{u"--"_s, u"-style"_s, u"@/r1.log"_s} << 1 << u"tarnwick: -style: cannot open: No such file or directory\n"_s << true;
    QTest::newRow("empty argument") << QStringList{u"@/r1.log"_s, QString()} << 1 << u"tarnwick: \"\": not converted: the name is empty\n"_s << true;
    QTest::newRow("a quotation mark in a name") << QStringList{u"@/r1.log"_s, u"say \"hi\".log"_s} << 1
                                                << u"tarnwick: say \"hi\".log: cannot open: No such file or directory\n"_s << true;
    QTest::newRow("ext without value") << QStringList{u"--ext"_s} << 2 << u"tarnwick: missing value after '--ext' (see tarnwick --help)\n"_s << false;
    QTest::newRow("a pager prompt of stars") << QStringList{u"--pager"_s, u" * "_s, u"@/r1.log"_s} << 2
                                             << u"tarnwick: pager prompt ' * ' holds nothing but blanks and '*' (see tarnwick --help)\n"_s << false;
    QTest::newRow("a timestamp with an unknown code") << QStringList{u"--timestamp"_s, u"[%H:%M:%Q] "_s, u"@/r1.log"_s} << 2
                                                      << u"tarnwick: timestamp '[%H:%M:%Q] ' holds an unknown code, a lone '%' or a control character (see tarnwick --help)\n"_s << false;
    QTest::newRow("an extension with a folder") << QStringList{u"--ext"_s, u"a/b"_s, u"@/r1.log"_s} << 2
                                                << u"tarnwick: the extension 'a/b' holds a folder separator or '..' (see tarnwick --help)\n"_s << false;
    QTest::newRow("an extension that climbs") << QStringList{u"--ext"_s, u"../x"_s, u"@/r1.log"_s} << 2
                                              << u"tarnwick: the extension '../x' holds a folder separator or '..' (see tarnwick --help)\n"_s << false;
    QTest::newRow("a name that would fake a line") << QStringList{u"@/r1.log"_s, u"x\ntarnwick: y.log"_s} << 1
                                                   << u"tarnwick: x\\ntarnwick: y.log: cannot open: No such file or directory\n"_s << true;
    QTest::newRow("-c without a log") << QStringList{u"-c"_s} << 2 << u"tarnwick: '-c' needs a LOG to write out (\"-\" for standard input) (see tarnwick --help)\n"_s << false;
    QTest::newRow("-f without a log") << QStringList{u"-f"_s} << 2 << u"tarnwick: '-f' follows one LOG file (see tarnwick --help)\n"_s << false;
    QTest::newRow("--follow with two logs") << QStringList{u"--follow"_s, u"@/r1.log"_s, u"@/r1.log"_s} << 2
                                            << u"tarnwick: '--follow' follows one LOG file (see tarnwick --help)\n"_s << false;
    QTest::newRow("-f on standard input") << QStringList{u"-f"_s, u"-"_s} << 2 << u"tarnwick: '-f' follows one LOG file (see tarnwick --help)\n"_s << false;
    QTest::newRow("--stdout without a log") << QStringList{u"--scroll"_s, u"--stdout"_s} << 2
                                            << u"tarnwick: '--stdout' needs a LOG to write out (\"-\" for standard input) (see tarnwick --help)\n"_s << false;
    QTest::newRow("unknown encoding") << QStringList{u"--encoding"_s, u"euc-jp"_s, u"@/r1.log"_s} << 2
                                      << u"tarnwick: unknown encoding 'euc-jp' (auto, system, utf-8 or shift-jis) (see tarnwick --help)\n"_s << false;
    QTest::newRow("a screen too high") << QStringList{u"--screen-rows"_s, u"1001"_s, u"@/r1.log"_s} << 2
                                       << u"tarnwick: screen rows '1001' is no number from 1 to 1000 (see tarnwick --help)\n"_s << false;
    QTest::newRow("a secret shape without its marker") << QStringList{u"--mask"_s, u"--secret"_s, u"login password *"_s, u"@/r1.log"_s} << 2
                                                       << u"tarnwick: secret shape 'login password *' holds no {} for the value (see tarnwick --help)\n"_s << false;
}

void tst_Batch::takesOptionsBeforeLogsOnly()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(bool, converted);
    writeFile(path(u"r1.log"_s), "a\bb\n");
    for (QString &argument : arguments)
        argument.replace(u'@', dir_->path());
    Result result;
    {
        QProcess process; // in the test's folder, where the paths that begin with "-" are missing
        process.setProcessEnvironment(withoutDisplay());
        process.setWorkingDirectory(dir_->path());
        process.start(program_, arguments);
        QVERIFY(process.waitForFinished(60000));
        result = {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    QCOMPARE(result.err, error);
    QCOMPARE(result.status, status);
    QCOMPARE(readFile(path(u"r1.txt"_s)), converted ? QByteArray("b\r\n") : QByteArray("<missing>"));
}

void tst_Batch::runOptionsLeaveProfileAlone_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QByteArray>("cleaned");
    QTest::addColumn<QByteArray>("extensionLine"); // of the profile

    // The last line is UTF-8: automatically found, its BackSpace takes all three bytes of あ.
    // The profile's pager prompts are read up to the first number missing.
    const QByteArray prompts = "Hit the key\r\n-- Page 2 --\r\n-- Four --\r\n";
    const QByteArray plain = "aX\r\n\x1b[1mbold\r\n" + prompts + "!\r\n";
    const QByteArray txt = "FileExt=txt\r\n";
    QTest::newRow("profile's settings") << QStringList() << u"r1.txt"_s << plain << txt;
    QTest::newRow("--scroll") << QStringList{u"--scroll"_s} << u"r1.txt"_s << QByteArray("aXc\r\n\x1b[1mbold\r\n" + prompts + "!\r\n") << txt;
    QTest::newRow("--scroll --no-scroll") << QStringList{u"--scroll"_s, u"--no-scroll"_s} << u"r1.txt"_s << plain << txt;
    // A terminal shows あ in two columns: one BackSpace leaves a blank in its place.
    QTest::newRow("--controls") << QStringList{u"--controls"_s} << u"r1.txt"_s << QByteArray("aX\r\nbold\r\n-- Four --\r\n !\r\n") << txt;
    QTest::newRow("--controls --pager twice") << QStringList{u"--controls"_s, u"--pager"_s, u"*Four*"_s, u"--pager=bold"_s} << u"r1.txt"_s
                                             << QByteArray(" !\r\n").prepend("aX\r\n") << txt;
    QTest::newRow("--controls --pager -c") << QStringList{u"--controls"_s, u"--pager"_s, u"-- * --"_s, u"-c"_s} << u"-"_s << QByteArray("aX\r\nbold\r\n !\r\n") << txt;
    QTest::newRow("--encoding shift-jis") << QStringList{u"--encoding"_s, u"shift-jis"_s} << u"r1.txt"_s
                                          << QByteArray("aX\r\n\x1b[1mbold\r\n" + prompts + "\xE3\x81!\r\n") << txt;
    QTest::newRow("--ext") << QStringList{u"--ext"_s, u"cfg"_s} << u"r1.cfg"_s << plain << txt;
    QTest::newRow("-ext=") << QStringList{u"-ext=cfg"_s} << u"r1.cfg"_s << plain << txt;
    QTest::newRow("--overwrite") << QStringList{u"--overwrite"_s} << u"r1.x.log"_s << plain << txt;
    QTest::newRow("--keep-dots") << QStringList{u"--keep-dots"_s} << u"r1.x.txt"_s << plain << txt;
    QTest::newRow("--ext with its dot") << QStringList{u"--ext"_s, u".cfg"_s} << u"r1.cfg"_s << plain << txt;
    QTest::newRow("profile without an extension") << QStringList() << u"r1.txt"_s << plain << QByteArray();
    QTest::newRow("profile's extension with its dot") << QStringList() << u"r1.cfg"_s << plain << QByteArray("FileExt=.cfg\r\n");
}

void tst_Batch::runOptionsLeaveProfileAlone()
{
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    QFETCH(QByteArray, cleaned);
    QFETCH(QByteArray, extensionLine);
    const QByteArray profile = "[Tarnwick]\r\n" + extensionLine + "Scroll=FALSE\r\nOverWrite=FALSE\r\nControls=FALSE\r\n"
                               "Pager1=Hit * key\r\nPager2=-- Page * --\r\nPager4=-- Four --\r\n";
    writeFile(path(u"bin/Tarnwick.ini"_s), profile);
    writeFile(path(u"r1.x.log"_s), "abc\b\bX\n\x1b[1mbold\nHit the key\n-- Page 2 --\n-- Four --\n\xE3\x81\x82\b!\n");
    const Result result = run(options + QStringList{path(u"r1.x.log"_s)});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(output == u"-"_s ? result.out.toUtf8() : readFile(path(output)), cleaned);
    QCOMPARE(readFile(path(u"bin/Tarnwick.ini"_s)), profile);
}

void tst_Batch::masksWhereTheSettingsSay_data()
{
    QTest::addColumn<QByteArray>("profileKeys");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("cleaned"); // of r1.log, in r1.txt or on standard output
    QTest::addColumn<int>("masked");         // told on standard error; -1 for nothing told

    const QByteArray plain = "snmp-server community Pub1 RO\r\nlogin password Y4m\r\n";
    const QByteArray masked = "snmp-server community <secret-1> RO\r\nlogin password <secret-2>\r\n";
    QTest::newRow("off by default") << QByteArray() << QStringList() << plain << -1;
    QTest::newRow("the profile's Mask") << QByteArray("Mask=TRUE\n") << QStringList() << masked << 2;
    QTest::newRow("--no-mask over the profile") << QByteArray("Mask=true\n") << QStringList{u"--no-mask"_s} << plain << -1;
    QTest::newRow("--mask, to standard output") << QByteArray() << QStringList{u"--mask"_s, u"-c"_s} << masked << 2;
    QTest::newRow("the profile's shapes and --secret") << QByteArray("Mask=TRUE\nSecret1=set wifi {}\nSecret2=*-key {}\n")
                                                       << QStringList{u"--secret"_s, u"psk: {}"_s}
                                                       << masked + "set wifi <secret-3>\r\nmy-key <secret-4>\r\npsk: <secret-5>\r\n" << 5;
}

void tst_Batch::masksWhereTheSettingsSay()
{
    QFETCH(QByteArray, profileKeys);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, cleaned);
    QFETCH(int, masked);
    writeFile(path(u"bin/Tarnwick.ini"_s), "[Tarnwick]\nFileExt=txt\n" + profileKeys);
    writeFile(path(u"r1.log"_s), "snmp-server community Pub1 RO\nlogin password Y4m\nset wifi W1\nmy-key K1\npsk: P1\n");
    const Result result = run(options + QStringList{path(u"r1.log"_s)});
    QCOMPARE(result.status, 0);
    const QByteArray written = options.contains(u"-c"_s) ? result.out.toUtf8() : readFile(path(u"r1.txt"_s));
    QVERIFY2(written.startsWith(cleaned), written.constData());
    QCOMPARE(result.err, masked < 0 ? QString() : u"tarnwick: %1: %2 secrets masked\n"_s.arg(path(u"r1.log"_s)).arg(masked));
}

void tst_Batch::writesToStandardOutput()
{
    writeFile(path(u"r1.log"_s), "R1#shpw\b\bow run\r\n<--- More --->\r              \rinterface Gi0/1\n");
    writeFile(path(u"r2.log"_s), "a\b\bb");
    // What an earlier run that was killed left behind goes at this start too.
    writeFile(path(u"bin/Tarnwick-0000BEEF.tmp"_s), "left behind\n");
    QFile leftover(path(u"bin/Tarnwick-0000BEEF.tmp"_s));
    QVERIFY(leftover.open(QIODevice::ReadWrite) && leftover.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    leftover.close();
    const Result result = run({u"-c"_s, path(u"r1.log"_s), path(u"missing.log"_s), path(u"r2.log"_s)});
    QCOMPARE(result.err, u"tarnwick: %1: cannot open: No such file or directory\n"_s.arg(path(u"missing.log"_s)));
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, u"R1#show run\r\ninterface Gi0/1\r\nb\r\n"_s);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), (QStringList{u"r1.log"_s, u"r2.log"_s}));
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
}

void tst_Batch::filtersPipeAsItComes()
{
    // Each line comes out as soon as its LF has gone in, however the input is cut into writes;
    // with terminal controls read, the rows of the screen and the lines held back for it too: a
    // move up then finds them written, and what it writes there comes out as a line of its own.
    const QByteArray esc = "\x1b";
    const QList<QPair<QStringList, QList<QPair<QByteArray, QByteArray>>>> runs{
        {{u"-"_s},
         {{"shpw\b\bow run\n", "show run\r\n"}, {"a", ""}, {"b\b", ""}, {"\rc\n", "ac\r\n"}, {"<--- More --->\n", ""}, {"end\n", "end\r\n"}}},
        {{u"--controls"_s, u"-"_s},
         {{"Starting foo\n", "Starting foo\r\n"}, {esc + "[A\n", ""}, {esc + "[70C[  OK  ]\n", times(" ", 70) + "[  OK  ]\r\n"},
          {"x" + esc + "[A" + esc + "[Gy\n", "y\r\nx\r\n"}, {"a\nb\n", "a\r\nb\r\n"}, {esc + "[2Az\n", "z\r\n"}, {"end\n", "end\r\n"}}},
    };
    for (const auto &[arguments, exchanges] : runs) {
        QProcess filter;
        filter.setProcessEnvironment(withoutDisplay());
        filter.start(program_, arguments);
        QVERIFY(filter.waitForStarted());
        for (const auto &[in, out] : exchanges) {
            filter.write(in);
            QVERIFY(filter.waitForBytesWritten(10000));
            QByteArray got = filter.readAllStandardOutput();
            while (got.size() < out.size() && filter.waitForReadyRead(10000))
                got += filter.readAllStandardOutput();
            QCOMPARE(got, out);
        }
        filter.closeWriteChannel();
        QVERIFY(filter.waitForFinished(10000));
        QCOMPARE(filter.exitCode(), 0);
        QCOMPARE(filter.readAllStandardError(), QByteArray());
    }

    // 100 MB through the pipe: peak memory stays within a few buffers' worth of what it was after
    // the first 10 MiB. The buffers fill up only as reads grow (a slow reader gets fuller reads),
    // so some MiB of growth are normal; holding the text would add the 90 MiB between.
    QProcess big;
    big.setProcessEnvironment(withoutDisplay());
    big.setStandardOutputFile(path(u"big.txt"_s));
    big.start(program_, {u"-"_s});
    QVERIFY(big.waitForStarted());
    const auto peakKiB = [&] {
        QFile status(u"/proc/%1/status"_s.arg(big.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1LL;
        for (const QByteArray &statusLine : status.readAll().split('\n')) {
            if (statusLine.startsWith("VmHWM:"))
                return statusLine.mid(6).trimmed().split(' ').first().toLongLong();
        }
        return -1LL;
    };
    const QByteArray chunk = times("R1#shpw\b\bow interfaces status\n", 1 << 15); // 1 MiB
    long long early = 0;
    for (int i = 0; i < 100; ++i) {
        big.write(chunk);
        QVERIFY(big.waitForBytesWritten(60000));
        if (i == 10)
            early = peakKiB();
    }
    const long long late = peakKiB();
    big.closeWriteChannel();
    QVERIFY(big.waitForFinished(60000));
    QCOMPARE(big.exitCode(), 0);
    QVERIFY2(early > 0 && late - early < 16384, qPrintable(u"%1 KiB after 10 MiB, %2 KiB after 100 MiB"_s.arg(early).arg(late)));
    QCOMPARE(QFileInfo(path(u"big.txt"_s)).size(), qint64(100) * (1 << 15) * qint64(sizeof "R1#show interfaces status\r\n" - 1));
}

void tst_Batch::followsLogAsItGrows()
{
    // Each line comes out once its LF is in the log, across a rotation (the rest of the old log,
    // then the new one from its start) and a truncation (the log read again, and said once); an
    // ending signal ends it with everything read written.
    const auto append = [this](const QString &name, const QByteArray &bytes) {
        QFile log(path(name));
        QVERIFY(log.open(QIODevice::Append) && log.write(bytes) == bytes.size());
    };
    writeFile(path(u"r1.log"_s), "shpw\b\bow run\n");
    QProcess follower;
    follower.setProcessEnvironment(withoutDisplay());
    follower.setWorkingDirectory(dir_->path());
    follower.start(program_, {u"-f"_s, u"r1.log"_s});
    QVERIFY(follower.waitForStarted());
    QByteArray expected, got;
    const auto comesOut = [&](const QByteArray &lines) {
        expected += lines;
        while (got.size() < expected.size() && follower.waitForReadyRead(10000))
            got += follower.readAllStandardOutput();
        return got == expected;
    };
    QVERIFY(comesOut("show run\r\n"));
    append(u"r1.log"_s, "a\bb");
    append(u"r1.log"_s, "\n<--- More --->\n");
    QVERIFY(comesOut("b\r\n"));
    append(u"r1.log"_s, "last\n");
    QVERIFY(QFile::rename(path(u"r1.log"_s), path(u"r1.log.1"_s)));
    writeFile(path(u"r1.log"_s), "new\n");
    QVERIFY(comesOut("last\r\nnew\r\n"));
    append(u"r1.log"_s, "more\n");
    QVERIFY(comesOut("more\r\n"));
    writeFile(path(u"r1.log"_s), "x\n");
    QVERIFY(comesOut("x\r\n"));
    kill(pid_t(follower.processId()), SIGTERM);
    QVERIFY(follower.waitForFinished(10000));
    QCOMPARE(follower.exitStatus(), QProcess::NormalExit);
    QCOMPARE(follower.exitCode(), 128 + SIGTERM);
    QCOMPARE(got + follower.readAllStandardOutput(), expected);
    QCOMPARE(follower.readAllStandardError(), "tarnwick: r1.log: the log was truncated; reading it again from its start\n");
}

void tst_Batch::takesTheScreenHeight_data()
{
    QTest::addColumn<QByteArray>("profileKey");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("cleaned");

    // On a screen of one row, the move up finds the second line on the row of the first.
    const QByteArray high = "aX\r\nb\r\n";
    const QByteArray oneRow = "a\r\nbX\r\n";
    QTest::newRow("the default") << QByteArray() << QStringList() << high;
    QTest::newRow("the profile's") << QByteArray("ScreenRows=1\r\n") << QStringList() << oneRow;
    QTest::newRow("the option's over the profile's") << QByteArray("ScreenRows=1\r\n") << QStringList{u"--screen-rows"_s, u"24"_s} << high;
    QTest::newRow("the option's") << QByteArray() << QStringList{u"--screen-rows=1"_s} << oneRow;
    QTest::newRow("the profile's, unusable") << QByteArray("ScreenRows=0\r\n") << QStringList() << high;
}

void tst_Batch::takesTheScreenHeight()
{
    QFETCH(QByteArray, profileKey);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, cleaned);
    writeFile(path(u"bin/Tarnwick.ini"_s), "[Tarnwick]\r\nControls=TRUE\r\n" + profileKey);
    writeFile(path(u"r1.log"_s), "a\nb\x1b[AX\n");
    const Result result = run(options + QStringList{u"-c"_s, path(u"r1.log"_s)});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out.toUtf8(), cleaned);
}

void tst_Batch::keepsTheUsersTimestamps_data()
{
    QTest::addColumn<QByteArray>("profileKeys");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("cleaned");

    QTest::newRow("none") << QByteArray() << QStringList() << QByteArray("<1000x\r\n{10:00x\r\n");
    QTest::newRow("the profile's") << QByteArray("Timestamp1=<%H%M> \r\n") << QStringList() << QByteArray("<1000> x\r\n{10:00x\r\n");
    QTest::newRow("the profile's and the option's") << QByteArray("Timestamp1=<%H%M> \r\n") << QStringList{u"--timestamp"_s, u"{%R} "_s}
                                                    << QByteArray("<1000> x\r\n{10:00} x\r\n");
}

void tst_Batch::keepsTheUsersTimestamps()
{
    QFETCH(QByteArray, profileKeys);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, cleaned);
    writeFile(path(u"bin/Tarnwick.ini"_s), "[Tarnwick]\r\n" + profileKeys);
    writeFile(path(u"r1.log"_s), "<1000> ab" + times("\b", 4) + "x\n{10:00} ab" + times("\b", 4) + "x\n");
    const Result result = run(options + QStringList{u"-c"_s, path(u"r1.log"_s)});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out.toUtf8(), cleaned);
}

void tst_Batch::refusesNameThatCannotBeCarried()
{
    // A Shift-JIS name on a UTF-8 system, beside the file whose name its decoding would give.
    const QByteArray name = path(u"r"_s).toUtf8() + "\x82\xa0.log";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0 && ::write(fd, "a\bb\n", 4) == 4 && ::close(fd) == 0);
    writeFile(path(u"r\uFFFD\uFFFD.log"_s), "the other file\n");
    writeFile(path(u"r2.log"_s), "ok\n");

    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(u"sh"_s, {u"-c"_s, u"exec \"$0\" \"$(printf '%1\\202\\240.log')\" \"$1\""_s.arg(path(u"r"_s)), program_, path(u"r2.log"_s)});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.readAllStandardError(),
             "tarnwick: " + path(u"r"_s).toUtf8() + "\\x82\\xa0.log: not converted: the name is not valid in the system's encoding, so it cannot be passed on exactly\n");
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(readFile(path(u"r2.txt"_s)), QByteArray("ok\r\n"));
    QCOMPARE(readFile(path(u"r\uFFFD\uFFFD.log"_s)), QByteArray("the other file\n"));
    QVERIFY(!QFile::exists(path(u"r\uFFFD\uFFFD.txt"_s)));
    QVERIFY(::access((path(u"r"_s).toUtf8() + "\x82\xa0.txt").constData(), F_OK) != 0);
    QCOMPARE(::unlink(name.constData()), 0); // QTemporaryDir cannot name it to remove it
}

void tst_Batch::convertsEveryPath()
{
    writeFile(path(u"r1.log"_s), "R1#shpw\b\bow run\r\n<--- More --->\r              \rinterface Gi0/1\n");
    writeFile(path(u"my logs r2.log"_s), "a\b\bb");
    // Left behind by a power cut, in both folders the program uses; removed at start.
    for (const QString &leftover : {path(u"bin/Tarnwick-0000DEAD.tmp"_s), path(u"tmp/Tarnwick-0000BEEF.tmp"_s)}) {
        writeFile(leftover, "an old log\r\n");
        QFile file(leftover);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    }
    const Result result = run({path(u"r1.log"_s), path(u"my logs r2.log"_s)});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(readFile(path(u"r1.txt"_s)), QByteArray("R1#show run\r\ninterface Gi0/1\r\n"));
    QCOMPARE(readFile(path(u"my logs r2.txt"_s)), QByteArray("b\r\n"));
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
    QCOMPARE(QDir(path(u"tmp"_s)).entryList(QDir::Files), QStringList());
}

void tst_Batch::takesFoldersOfLogs_data()
{
    QTest::addColumn<QByteArray>("profileKeys");
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("outputs"); // every .txt below the test's folder afterwards
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("unreadable"); // logs/sub/deep, whose logs are then left out

    // The tree: logs/{a.log, b.LOG, notes.txt, x.cap, sub/{c.log, deep/d.log, loop -> ..}}; each
    // log holds one secret, so that --mask tells the logs in the order they are converted.
    const QStringList untouched{u"logs/notes.txt"_s};
    const QString loop = u"tarnwick: @/logs/sub/loop: not read: a link leads back to a folder above it\n"_s;
    QTest::newRow("a folder, an output's extension left out") << QByteArray() << QStringList{u"@/logs"_s} << 0
                                                              << untouched + QStringList{u"logs/b.txt"_s, u"logs/a.txt"_s} << QString() << false;
    QTest::newRow("in the order of their names") << QByteArray() << QStringList{u"--mask"_s, u"-r"_s, u"@/logs"_s} << 1
                                                 << untouched + QStringList{u"logs/b.txt"_s, u"logs/a.txt"_s, u"logs/sub/c.txt"_s, u"logs/sub/deep/d.txt"_s}
                                                 << u"tarnwick: @/logs/a.log: 1 secret masked\ntarnwick: @/logs/b.LOG: 1 secret masked\n"
                                                    u"tarnwick: @/logs/sub/c.log: 1 secret masked\ntarnwick: @/logs/sub/deep/d.log: 1 secret masked\n"_s + loop << false;
    QTest::newRow("recursive from the profile") << QByteArray("Recursive=TRUE\n") << QStringList{u"@/logs"_s} << 1
                                                << untouched + QStringList{u"logs/a.txt"_s, u"logs/b.txt"_s, u"logs/sub/c.txt"_s, u"logs/sub/deep/d.txt"_s} << loop << false;
    // The link leads out of the folder given, into the folder above, whose logs are its own.
    QTest::newRow("a link out of the tree") << QByteArray() << QStringList{u"-r"_s, u"@/logs/sub"_s} << 1
                                            << untouched + QStringList{u"logs/a.txt"_s, u"logs/b.txt"_s, u"logs/sub/c.txt"_s, u"logs/sub/deep/d.txt"_s}
                                            << u"tarnwick: @/logs/sub/loop/sub: not read: a link leads back to a folder above it\n"_s << false;
    QTest::newRow("the profile's extensions") << QByteArray("LogExtensions=.cap, LOG\n") << QStringList{u"@/logs"_s} << 0
                                              << untouched + QStringList{u"logs/b.txt"_s, u"logs/a.txt"_s, u"logs/x.txt"_s} << QString() << false;
    QTest::newRow("--include in their place") << QByteArray() << QStringList{u"--include"_s, u"*.cap"_s, u"--include"_s, u"?.log"_s, u"@/logs"_s} << 0
                                              << untouched + QStringList{u"logs/a.txt"_s, u"logs/b.txt"_s, u"logs/x.txt"_s} << QString() << false;
    QTest::newRow("a log named itself, whatever its extension") << QByteArray() << QStringList{u"@/logs/x.cap"_s, u"@/logs"_s} << 0
                                                                << untouched + QStringList{u"logs/b.txt"_s, u"logs/a.txt"_s, u"logs/x.txt"_s} << QString() << false;
    QTest::newRow("an output folder, subfolders made")
        << QByteArray() << QStringList{u"-r"_s, u"-o"_s, u"@/out/new"_s, u"@/logs"_s, u"@/logs/x.cap"_s} << 1
        << untouched + QStringList{u"out/new/b.txt"_s, u"out/new/a.txt"_s, u"out/new/sub/c.txt"_s, u"out/new/sub/deep/d.txt"_s, u"out/new/x.txt"_s} << loop << false;
    QTest::newRow("an output folder from the profile") << QByteArray("OutputFolder=@/out\n") << QStringList{u"@/logs/sub"_s} << 0
                                                       << untouched + QStringList{u"out/c.txt"_s} << QString() << false;
    QTest::newRow("an output folder inside the tree read")
        << QByteArray() << QStringList{u"-r"_s, u"--output-dir"_s, u"@/logs/sub/clean"_s, u"@/logs"_s} << 2 << untouched
        << u"tarnwick: @/logs/sub/clean: the output folder is inside the folder of logs @/logs, whose outputs would become logs; nothing was converted\n"_s << false;
    QTest::newRow("an output folder that cannot be made") << QByteArray() << QStringList{u"-o"_s, u"@/logs/a.log/clean"_s, u"@/logs"_s} << 2 << untouched
                                                          << u"tarnwick: @/logs/a.log/clean: cannot make the output folder: Not a directory; nothing was converted\n"_s << false;
    QTest::newRow("a folder that cannot be read")
        << QByteArray() << QStringList{u"-r"_s, u"@/logs"_s} << 1 << untouched + QStringList{u"logs/a.txt"_s, u"logs/b.txt"_s, u"logs/sub/c.txt"_s}
        << u"tarnwick: @/logs/sub/deep: cannot read the folder: Permission denied\n"_s + loop << true;
    QTest::newRow("jobs out of range") << QByteArray() << QStringList{u"-j"_s, u"0"_s, u"@/logs"_s} << 2 << untouched
                                       << u"tarnwick: jobs '0' is no number from 1 to 64 (see tarnwick --help)\n"_s << false;
}

void tst_Batch::takesFoldersOfLogs()
{
    QFETCH(QByteArray, profileKeys);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, outputs);
    QFETCH(QString, error);
    QFETCH(bool, unreadable);
    QVERIFY(QDir().mkpath(path(u"logs/sub/deep"_s)));
    for (const QString &log : {u"a.log"_s, u"b.LOG"_s, u"notes.txt"_s, u"x.cap"_s, u"sub/c.log"_s, u"sub/deep/d.log"_s})
        writeFile(path(u"logs/"_s + log), "snmp-server community s3cret RO\n");
    QVERIFY(QFile::link(u".."_s, path(u"logs/sub/loop"_s)));
    writeFile(path(u"bin/Tarnwick.ini"_s), "[Tarnwick]\nFileExt=txt\n" + profileKeys.replace('@', dir_->path().toUtf8()));
    for (QString &argument : arguments)
        argument.replace(u'@', dir_->path());

    // Root reads every folder: the program then runs as nobody, on a tree given to nobody.
    QProcess process;
    if (unreadable) {
        if (runsAsRoot()) {
            QVERIFY(QProcess::execute(u"chown"_s, {u"-R"_s, u"65534:65534"_s, dir_->path()}) == 0);
            process.setChildProcessModifier([] { static_cast<void>(::setgid(65534) == 0 && ::setuid(65534) == 0); });
        }
        QVERIFY(QFile::setPermissions(path(u"logs/sub/deep"_s), {}));
    }
    process.setProcessEnvironment(withoutDisplay());
    process.start(program_, arguments);
    QVERIFY(process.waitForFinished(60000));
    const Result result{process.exitCode(), {}, QString::fromUtf8(process.readAllStandardError())};
    QFile::setPermissions(path(u"logs/sub/deep"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result.err, QString(error).replace(u'@', dir_->path()));
    QCOMPARE(result.status, status);
    QStringList found;
    for (QDirIterator it(dir_->path(), {u"*.txt"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        found.append(QDir(dir_->path()).relativeFilePath(it.next()));
    found.sort();
    outputs.sort();
    QCOMPARE(found, outputs);
    if (outputs.contains(u"logs/a.txt"_s))
        QVERIFY(readFile(path(u"logs/a.txt"_s)).endsWith(" RO\r\n"));
}

// Several logs at once give what one at a time gives: the same outputs, and the same lines on
// standard error in the same order, failures among them.
void tst_Batch::convertsAtOnceAsInTurn()
{
    QVERIFY(QDir().mkpath(path(u"logs"_s)));
    QStringList logs;
    for (int i = 0; i < 50; ++i) {
        const QString log = path(u"logs/r%1.log"_s.arg(i, 2, 10, QChar(u'0')));
        logs.append(log);
        if (i % 7 == 3)
            continue; // missing
        writeFile(log, times(i % 5 == 0 ? "enable secret 5 $1$abc\n" : "R1#shpw\b\bow run\n", 1000 * (i % 9 + 1)));
    }
    QVERIFY(QDir().mkpath(path(u"logs/r20.cap"_s))); // no log, but a folder of none
    logs.insert(10, u"/dev/null"_s);
    // Two logs of one output: the second is refused, whichever run ends first.
    writeFile(path(u"logs/r05.cap"_s), "other\n");
    logs.insert(6, path(u"logs/r05.cap"_s));
    logs.append(path(u"logs"_s));
    QMap<QString, QByteArray> outputs[2];
    Result results[2];
    for (const int jobs : {1, 2}) {
        for (const QString &output : QDir(path(u"logs"_s)).entryList({u"*.txt"_s}))
            QFile::remove(path(u"logs/"_s + output));
        results[jobs - 1] = run(QStringList{u"--mask"_s, u"-j"_s, QString::number(jobs)} + logs);
        for (const QString &output : QDir(path(u"logs"_s)).entryList({u"*.txt"_s}))
            outputs[jobs - 1][output] = readFile(path(u"logs/"_s + output));
    }
    QCOMPARE(results[1].status, 1);
    QCOMPARE(results[1].status, results[0].status);
    QVERIFY(results[0].err.count(u'\n') > 20);
    QCOMPARE(results[1].err, results[0].err);
    QCOMPARE(outputs[1].keys(), outputs[0].keys());
    QVERIFY(outputs[1] == outputs[0]);
    QCOMPARE(QDir(path(u"tmp"_s)).entryList(QDir::Files), QStringList());
}

// Logs on a medium that cannot be written are cleaned into an output folder elsewhere.
void tst_Batch::cleansReadOnlyTreeIntoOutputFolder()
{
    const SmallDisk disk(path(u"share"_s), 256);
    if (!disk.mounted())
        QSKIP("needs root to mount a read-only file system");
    QVERIFY(QDir().mkpath(path(u"share/2026/r1"_s)));
    writeFile(path(u"share/2026/r1/console.log"_s), "R1#shpw\b\bow run\n");
    QVERIFY(disk.remountReadOnly());
    const Result result = run({u"-r"_s, u"-o"_s, path(u"clean"_s), path(u"share"_s)});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(readFile(path(u"clean/2026/r1/console.txt"_s)), QByteArray("R1#show run\r\n"));
}

void tst_Batch::reportsFailingFileAndGoesOn_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("reason");
    QTest::newRow("English") << u"C.UTF-8"_s << u"cannot open: No such file or directory"_s;
    QTest::newRow("Japanese") << u"ja_JP.UTF-8"_s << u"開けませんでした: ファイルまたはフォルダーが見つかりません"_s;
}

void tst_Batch::reportsFailingFileAndGoesOn()
{
    QFETCH(QString, locale);
    QFETCH(QString, reason);
    if (!std::setlocale(LC_ALL, locale.toLatin1().constData()))
        QSKIP("the locale is not installed (scripts/setup.sh generates it)");
    std::setlocale(LC_ALL, "C");
    writeFile(path(u"good.log"_s), "ok\n");
    QProcessEnvironment environment = withoutDisplay();
    for (const QString &name : {u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANGUAGE"_s})
        environment.remove(name);
    environment.insert(u"LANG"_s, locale);
    const Result result = run({path(u"missing.log"_s), path(u"good.log"_s)}, environment);
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err, u"tarnwick: %1: %2\n"_s.arg(path(u"missing.log"_s), reason));
    QCOMPARE(readFile(path(u"good.txt"_s)), QByteArray("ok\r\n"));
}

void tst_Batch::findsEncodingUnderEitherLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QByteArray>("cleaned");
    // 設定⌫⌫定義 in UTF-8 and in Shift-JIS: both characters erased under either system.
    const QByteArray utf8 = "\xE8\xA8\xAD\xE5\xAE\x9A\b\b\xE5\xAE\x9A\xE7\xBE\xA9\n";
    const QByteArray sjis = "\x90\xDD\x92\xE8\b\b\x92\xE8\x8B\x60\n";
    QTest::newRow("UTF-8 log, Shift-JIS system") << u"ja_JP.SJIS"_s << utf8 << QByteArray("\xE5\xAE\x9A\xE7\xBE\xA9\r\n");
    QTest::newRow("Shift-JIS log, Shift-JIS system") << u"ja_JP.SJIS"_s << sjis << QByteArray("\x92\xE8\x8B\x60\r\n");
    QTest::newRow("Shift-JIS log, UTF-8 system") << u"ja_JP.UTF-8"_s << sjis << QByteArray("\x92\xE8\x8B\x60\r\n");
    QTest::newRow("UTF-8 log, UTF-8 system") << u"ja_JP.UTF-8"_s << utf8 << QByteArray("\xE5\xAE\x9A\xE7\xBE\xA9\r\n");
    // テス⌫ x in UTF-8, then a byte UTF-8 has not: judged whole, the log is in two encodings, and
    // so is -c's: each line is read by its own, the last by the system's.
    QTest::newRow("UTF-8 log with a bad last byte, Shift-JIS system") << u"ja_JP.SJIS"_s << QByteArray("\xE3\x83\x86\xE3\x82\xB9\b x\n\x80\n")
                                                                     << QByteArray("\xE3\x83\x86 x\r\n\x80\r\n");
}

void tst_Batch::findsEncodingUnderEitherLocale()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, log);
    QFETCH(QByteArray, cleaned);
    if (!std::setlocale(LC_ALL, locale.toLatin1().constData()))
        QSKIP("the locale is not installed (scripts/setup.sh makes it)");
    std::setlocale(LC_ALL, "C");
    QProcessEnvironment environment = withoutDisplay();
    environment.remove(u"LC_ALL"_s);
    environment.insert(u"LANG"_s, locale);
    writeFile(path(u"r1.log"_s), log);
    const Result result = run({path(u"r1.log"_s)}, environment);
    QCOMPARE(result.status, 0);
    QCOMPARE(readFile(path(u"r1.txt"_s)), cleaned);
    QProcess filter;
    filter.setProcessEnvironment(environment);
    filter.start(program_, {u"-c"_s, path(u"r1.log"_s)});
    QVERIFY(filter.waitForFinished(60000));
    QCOMPARE(filter.readAllStandardOutput(), cleaned);
}

void tst_Batch::refusesToReplaceWhatItMustKeep_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("kept"); // what 192.txt then holds, and held before where it is not "<none>"

    const QString isTheLog = u"tarnwick: @/r1.log: not converted: the output file would be the log itself (turn on overwriting, or choose another extension)\n"_s;
    QTest::newRow("output name is the log's") << QStringList{u"--ext"_s, u"log"_s, u"@/r1.log"_s} << 1 << isTheLog << QByteArray("<none>");
    QTest::newRow("output is a link to the log") << QStringList{u"@/r1.txt.log"_s} << 1 << QString(isTheLog).replace(u"@/r1.log"_s, u"@/r1.txt.log"_s)
                                                 << QByteArray("<none>");
    QTest::newRow("two logs, one output name") << QStringList{u"@/192.168.1.1.log"_s, u"@/192.168.1.2.log"_s} << 1
                                               << u"tarnwick: @/192.168.1.2.log: not converted: its output file holds what this batch wrote for @/192.168.1.1.log\n"_s
                                               << QByteArray("first\r\n");
    QTest::newRow("two logs, names that keep their dots") << QStringList{u"--keep-dots"_s, u"@/192.168.1.1.log"_s, u"@/192.168.1.2.log"_s} << 0
                                                         << QString() << QByteArray("<none>");
    QTest::newRow("the same log twice") << QStringList{u"@/192.168.1.1.log"_s, u"@/./192.168.1.1.log"_s} << 0 << QString() << QByteArray("first\r\n");
    // Across runs: the existing output may be the other log's.
    const QByteArray older = "an older output\r\n";
    QTest::newRow("another log gives the same output name") << QStringList{u"@/192.168.1.2.log"_s} << 1
                                                            << u"tarnwick: @/192.168.1.2.log: not converted: @/192.168.1.1.log gives the same output name, so the existing output may be that log's (--keep-dots keeps the dots)\n"_s
                                                            << older;
    QTest::newRow("another log's name, keeping the dots") << QStringList{u"--keep-dots"_s, u"@/192.168.1.2.log"_s} << 0 << QString() << older;
    QTest::newRow("an output only this log names") << QStringList{u"@/r2.log"_s} << 0 << QString() << older;
    QTest::newRow("output a link to itself") << QStringList{u"@/loop.log"_s} << 1
                                             << u"tarnwick: @/loop.txt: cannot write: Too many levels of symbolic links\n"_s << QByteArray("<none>");
    QTest::newRow("with overwriting, the log itself") << QStringList{u"--overwrite"_s, u"--ext"_s, u"log"_s, u"@/r1.log"_s} << 0 << QString()
                                                      << QByteArray("<none>");
}

void tst_Batch::refusesToReplaceWhatItMustKeep()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QByteArray, kept);
    const QByteArray log = "firsT\bt\n";
    for (const QString &name : {u"192.168.1.1.log"_s, u"192.168.1.2.log"_s, u"r1.log"_s, u"r2.log"_s, u"loop.log"_s})
        writeFile(path(name), log);
    if (kept.startsWith("an older")) {
        writeFile(path(u"192.txt"_s), kept);
        writeFile(path(u"r2.txt"_s), kept);
    }
    QVERIFY(QFile::link(u"loop.txt"_s, path(u"loop.txt"_s)));
    QVERIFY(QFile::link(path(u"r1.log"_s), path(u"r1.txt"_s)));
    QVERIFY(QFile::link(path(u"r1.txt"_s), path(u"r1.txt.log"_s)));
    arguments.replaceInStrings(u"@"_s, dir_->path());
    const Result result = run(arguments);
    QCOMPARE(result.err, QString(error).replace(u'@', dir_->path()));
    QCOMPARE(result.status, status);
    QCOMPARE(readFile(path(u"192.txt"_s)).replace("<missing>", "<none>"), kept);
    const bool overwritten = arguments.contains(u"--overwrite"_s);
    QCOMPARE(readFile(path(u"r1.log"_s)), overwritten ? QByteArray("first\r\n") : log);
    if (arguments.contains(u"--keep-dots"_s))
        QCOMPARE(readFile(path(u"192.168.1.2.txt"_s)), QByteArray("first\r\n"));
    if (arguments.contains(path(u"r2.log"_s)))
        QCOMPARE(readFile(path(u"r2.txt"_s)), QByteArray("first\r\n"));
    for (const QString &name : {u"192.168.1.1.log"_s, u"192.168.1.2.log"_s})
        QCOMPARE(readFile(path(name)), log);
}

void tst_Batch::leavesProfileThatIsNoFileAlone_data()
{
    QTest::addColumn<bool>("fifo"); // else a file of 50 MB
    QTest::addColumn<bool>("toStandardOutput");
    QTest::newRow("FIFO, batch") << true << false;
    QTest::newRow("FIFO, -c") << true << true;
    QTest::newRow("50 MB, batch") << false << false;
}

void tst_Batch::leavesProfileThatIsNoFileAlone()
{
    QFETCH(bool, fifo);
    QFETCH(bool, toStandardOutput);
    const QString profile = path(u"bin/Tarnwick.ini"_s);
    QFile::remove(profile);
    if (fifo)
        QCOMPARE(mkfifo(QFile::encodeName(profile).constData(), 0644), 0);
    else
        writeFile(profile, "[Tarnwick]\nFileExt=big\n" + QByteArray(50 << 20, ';'));
    writeFile(path(u"r1.log"_s), "ab\bc\n");
    const Result result = run(toStandardOutput ? QStringList{u"-c"_s, path(u"r1.log"_s)} : QStringList{path(u"r1.log"_s)});
    QCOMPARE(result.status, 0);
    QVERIFY2(result.err.startsWith(u"tarnwick: warning: the profile %1 "_s.arg(profile)) && result.err.count(u'\n') == 1, qPrintable(result.err));
    // As at a first start, the output is r1.txt.
    QCOMPARE(toStandardOutput ? result.out.toUtf8() : readFile(path(u"r1.txt"_s)), QByteArray("ac\r\n"));
    QCOMPARE(QFileInfo(profile).isFile(), !fifo);
    QCOMPARE(QFileInfo(profile).size(), fifo ? 0 : 23 + (50 << 20));
}

void tst_Batch::needsDisplayOrPaths_data()
{
    QTest::addColumn<QString>("display"); // empty for none; a display that opens is a platform's name
    QTest::addColumn<bool>("withLog");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::newRow("no display, no log") << QString() << false << 2 << u"tarnwick: no display"_s;
    QTest::newRow("unreachable display, no log") << u":99"_s << false << 2 << u"tarnwick: cannot open the display :99 to show the window on"_s;
    QTest::newRow("unreachable display, a log") << u":99"_s << true << 0 << u"tarnwick: cannot open the display :99; converting without showing the window\n"_s;
    // Where standard error is read (here a pipe), failures are told there and no box waits for a click.
    QTest::newRow("a display, a log and a missing one") << u"minimal"_s << true << 1 << u"tarnwick: @/missing.log: cannot open: "_s;
}

void tst_Batch::needsDisplayOrPaths()
{
    QFETCH(QString, display);
    QFETCH(bool, withLog);
    QFETCH(int, status);
    QFETCH(QString, error);
    QProcessEnvironment environment = withoutDisplay();
    const bool opens = !display.isEmpty() && !display.startsWith(u':');
    if (!display.isEmpty())
        environment.insert(opens ? u"QT_QPA_PLATFORM"_s : u"DISPLAY"_s, display);
    writeFile(path(u"r1.log"_s), "ab\bc\n");
    QStringList logs = withLog ? QStringList{path(u"r1.log"_s)} : QStringList();
    if (opens)
        logs.prepend(path(u"missing.log"_s));
    const Result result = run(logs, environment);
    QCOMPARE(result.status, status);
    QVERIFY2(result.err.startsWith(QString(error).replace(u'@', dir_->path())) && result.err.count(u'\n') == 1, qPrintable(result.err));
    QCOMPARE(readFile(path(u"r1.txt"_s)), QByteArray(withLog ? "ac\r\n" : "<missing>"));
}

void tst_Batch::twoInstancesRunAtOnce()
{
    // Both from the same program folder, so both use its folder for their temporary files.
    const QByteArray first = times("first\b\bST line of the first log\n", 400000);
    const QByteArray second = times("second log, another line\r\n", 400000);
    writeFile(path(u"first.log"_s), first);
    writeFile(path(u"second.log"_s), second);
    QProcess one;
    QProcess two;
    for (QProcess *process : {&one, &two})
        process->setProcessEnvironment(withoutDisplay());
    one.start(program_, {path(u"first.log"_s)});
    two.start(program_, {path(u"second.log"_s)});
    QVERIFY(one.waitForFinished(120000) && two.waitForFinished(120000));
    QCOMPARE(one.exitCode(), 0);
    QCOMPARE(two.exitCode(), 0);
    QVERIFY(readFile(path(u"first.txt"_s)) == times("firST line of the first log\r\n", 400000));
    QVERIFY(readFile(path(u"second.txt"_s)) == second);
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
}

void tst_Batch::installedProgramUsesUserFolders_data()
{
    QTest::addColumn<bool>("readOnly");
    // As root may write into /usr/bin, where nothing of a run belongs.
    QTest::newRow("writable program folder without a profile") << false;
    QTest::newRow("read-only program folder") << true;
}

void tst_Batch::installedProgramUsesUserFolders()
{
    QFETCH(bool, readOnly);
    const SmallDisk disk(path(u"installed"_s), 256 * 1024);
    if (readOnly && !disk.mounted())
        QSKIP("needs root to mount a read-only file system");
    const QString installed = install(path(u"installed"_s));
    QVERIFY(!readOnly || disk.remountReadOnly());
    program_ = installed;
    QVERIFY(QDir().mkpath(path(u"config/Tarnwick"_s)) && QDir().mkpath(path(u"tmp"_s)));
    writeFile(path(u"config/Tarnwick/Tarnwick.ini"_s), "[Tarnwick]\nFileExt=cfg\n");
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
    environment.insert(u"TMPDIR"_s, path(u"tmp"_s));
    writeFile(path(u"r1.log"_s), times("abc\b\n", 200000));

    const Result result = run({path(u"r1.log"_s)}, environment);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QVERIFY(readFile(path(u"r1.cfg"_s)) == times("ab\r\n", 200000));
    QCOMPARE(QDir(path(u"tmp"_s)).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(path(u"installed"_s)).entryList(QDir::Files), QStringList{u"tarnwick"_s});
}

void tst_Batch::endingSignalLeavesNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("state");
    QTest::newRow("SIGTERM, normalising") << SIGTERM << u"normalising"_s;
    QTest::newRow("SIGTERM, cleaning") << SIGTERM << u"cleaning"_s;
    QTest::newRow("SIGHUP, cleaning") << SIGHUP << u"cleaning"_s;
    QTest::newRow("SIGTERM, inside one long line") << SIGTERM << u"long line"_s;
    QTest::newRow("SIGINT, waiting for a FIFO's writer") << SIGINT << u"FIFO source"_s;
    QTest::newRow("SIGTERM, waiting for a FIFO's reader") << SIGTERM << u"FIFO output"_s;
    QTest::newRow("SIGTERM, cleaning two logs at once") << SIGTERM << u"two at once"_s;
    // Only the alarm that an ending signal sets ends the program; one from elsewhere does not.
    QTest::newRow("SIGALRM from another program, cleaning") << SIGALRM << u"cleaning"_s;
}

void tst_Batch::endingSignalLeavesNothing()
{
    QFETCH(int, signal);
    QFETCH(QString, state);
    QVERIFY(QDir().mkpath(path(u"logs"_s)));
    const bool longLine = state == u"long line"_s;
    const bool twoAtOnce = state == u"two at once"_s;
    const bool ending = signal != SIGALRM;
    // A line that takes the cleaners a while: 64 MiB with a sideways scroll's marks all along.
    const QByteArray source = longLine ? "R1#" + times("abc\b\b\b$x\x1b[D", 4 << 20) + '\n'
                                       : times("R1#shpw\b\bow interfaces status | include connected\n", 20000);
    if (state == u"FIFO source"_s)
        QCOMPARE(mkfifo(QFile::encodeName(path(u"logs/r1.log"_s)).constData(), 0644), 0);
    else
        writeFile(path(u"logs/r1.log"_s), source);
    if (state == u"FIFO output"_s)
        QCOMPARE(mkfifo(QFile::encodeName(path(u"logs/r1.txt"_s)).constData(), 0644), 0);
    else
        writeFile(path(u"logs/r1.txt"_s), "an older output\r\n");
    // The second log is as long: both runs are cleaning when the first is held.
    if (twoAtOnce)
        writeFile(path(u"logs/r2.log"_s), source);
    const QStringList before = twoAtOnce ? QStringList{u"r1.log"_s, u"r1.txt"_s, u"r2.log"_s} : QStringList{u"r1.log"_s, u"r1.txt"_s};

    // Held where the pass begins, or, for a FIFO, before it is opened and waited on.
    PausePoint pause(path(u"pause"_s), state.startsWith(u"FIFO"_s) ? u"start"_s : longLine || twoAtOnce ? u"cleaning"_s : state);
    QProcessEnvironment environment = withoutDisplay();
    pause.holdIn(environment);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program_, longLine    ? QStringList{u"--scroll"_s, u"--controls"_s, path(u"logs/r1.log"_s)}
                            : twoAtOnce ? QStringList{u"-j"_s, u"2"_s, path(u"logs/r1.log"_s), path(u"logs/r2.log"_s)}
                                        : QStringList{path(u"logs/r1.log"_s)});
    QVERIFY(pause.reached(process));
    pause.signalHeld(process, signal);
    pause.release();
    QVERIFY(process.waitForFinished(60000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), ending ? 128 + signal : 0);
    if (state == u"FIFO source"_s)
        QVERIFY(QFileInfo(path(u"logs/r1.log"_s)).size() == 0);
    else
        QVERIFY(readFile(path(u"logs/r1.log"_s)) == source);
    if (state != u"FIFO output"_s)
        QCOMPARE(readFile(path(u"logs/r1.txt"_s)), ending ? QByteArray("an older output\r\n") : times("R1#show interfaces status | include connected\r\n", 20000));
    QCOMPARE(QDir(path(u"logs"_s)).entryList(QDir::Files | QDir::System), before);
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
}

void tst_Batch::refusesWhatChangedDuringTheRun_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("change"); // made while the run is held before its first pass
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error"); // "@" stands for the logs' folder

    const QString changed = u"tarnwick: @/r1.log: not replaced: the log changed while it was converted; convert it again once the capture is closed\n"_s;
    const QString taken = u"tarnwick: @/r1.txt: not written: another file took its name while the log was converted\n"_s;
    QTest::newRow("the log grows, overwritten") << QStringList{u"--overwrite"_s} << u"append"_s << 1 << changed;
    QTest::newRow("the log is replaced, overwritten") << QStringList{u"--overwrite"_s} << u"replace"_s << 1 << changed;
    QTest::newRow("the log grows, into another file") << QStringList() << u"append"_s << 0
                                                      << u"tarnwick: @/r1.log: note: the log grew while it was converted; the output holds what had been read\n"_s;
    QTest::newRow("another user's link planted at the output") << QStringList() << u"link"_s << 1 << taken;
    QTest::newRow("another user's dangling link planted at the output") << QStringList() << u"dangling link"_s << 1 << taken;
}

// A terminal program still appending to its log, or another user in a shared folder such as /tmp
// who plants a link where the output is about to be written.
void tst_Batch::refusesWhatChangedDuringTheRun()
{
    QFETCH(QStringList, options);
    QFETCH(QString, change);
    QFETCH(int, status);
    QFETCH(QString, error);
    const bool linked = change.endsWith(u"link"_s);
    if (linked && !runsAsRoot())
        QSKIP("needs root to give the link to another user");
    const QByteArray logs = QFile::encodeName(path(u"logs"_s));
    QVERIFY(::mkdir(logs.constData(), 0777) == 0 && ::chmod(logs.constData(), 01777) == 0);
    const QByteArray log = times("R1#shpw\b\bow run\n", 300);
    writeFile(path(u"logs/r1.log"_s), log);
    writeFile(path(u"important.conf"_s), "secret\n");

    PausePoint pause(path(u"pause"_s), u"normalising"_s);
    QProcessEnvironment environment = withoutDisplay();
    pause.holdIn(environment);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program_, options << path(u"logs/r1.log"_s));
    QVERIFY(pause.reached(process));
    QByteArray changedLog = log;
    if (change == u"append"_s) {
        QFile appended(path(u"logs/r1.log"_s));
        QVERIFY(appended.open(QIODevice::Append));
        appended.write("R1#exit\n");
        changedLog += "R1#exit\n";
    } else if (change == u"replace"_s) {
        changedLog = "a new capture\n";
        writeFile(path(u"logs/new.log"_s), changedLog);
        QVERIFY(::rename(QFile::encodeName(path(u"logs/new.log"_s)).constData(), (logs + "/r1.log").constData()) == 0);
    } else {
        const QString target = change == u"link"_s ? path(u"important.conf"_s) : path(u"made.conf"_s);
        QVERIFY(QFile::link(target, path(u"logs/r1.txt"_s)));
        QVERIFY(::lchown((logs + "/r1.txt").constData(), 65534, 65534) == 0);
    }
    pause.release();
    QVERIFY(process.waitForFinished(60000));

    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), QString(error).replace(u'@', path(u"logs"_s)));
    QCOMPARE(process.exitCode(), status);
    QCOMPARE(readFile(path(u"logs/r1.log"_s)), changedLog);
    QCOMPARE(readFile(path(u"important.conf"_s)), QByteArray("secret\n"));
    QVERIFY(!QFileInfo::exists(path(u"made.conf"_s)));
    if (change == u"append"_s && options.isEmpty())
        QCOMPARE(readFile(path(u"logs/r1.txt"_s)), times("R1#show run\r\n", 300) + "R1#exit\r\n");
    QCOMPARE(QDir(path(u"logs"_s)).entryList(QDir::Files | QDir::Hidden | QDir::System).count(), linked || status == 0 ? 2 : 1);
}

void tst_Batch::refusesToWriteOntoItsLog_data()
{
    QTest::addColumn<QString>("command"); // for the shell, in the test's folder; $0 is the program
    QTest::addColumn<QString>("error");
    QTest::newRow("-c appending to the log") << u"\"$0\" -c r1.log >> r1.log"_s << u"tarnwick: r1.log: not converted: standard output is the log itself\n"_s;
    QTest::newRow("- appending to the log") << u"\"$0\" - < r1.log >> r1.log"_s << u"tarnwick: -: not converted: standard output is the log itself\n"_s;
    QTest::newRow("standard input closed") << u"\"$0\" - <&- >> r1.txt"_s << u"tarnwick: -: not converted: standard input is closed\n"_s;
    QTest::newRow("standard output closed") << u"\"$0\" -c r1.log >&-"_s << u"tarnwick: -: cannot write to standard output: it is closed\n"_s;
}

void tst_Batch::refusesToWriteOntoItsLog()
{
    QFETCH(QString, command);
    QFETCH(QString, error);
    writeFile(path(u"r1.log"_s), "R1#shpw\b\bow run\n");
    QProcess shell;
    shell.setProcessEnvironment(withoutDisplay());
    shell.setWorkingDirectory(dir_->path());
    shell.start(u"/bin/sh"_s, {u"-c"_s, command, program_});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(shell.readAllStandardError()), error);
    QCOMPARE(shell.exitCode(), 1);
    QCOMPARE(readFile(path(u"r1.log"_s)), QByteArray("R1#shpw\b\bow run\n"));
}

// Under an address-space limit, a log with a line too long to clean fails alone: the batch goes
// on with the next, and nothing of the failed log is left behind.
void tst_Batch::lineTooLongForMemoryFailsItsLogAlone()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("a sanitizer build reserves terabytes of address space");
#endif
    constexpr rlim_t limit = rlim_t(768) << 20;
    writeFile(path(u"a1.log"_s), "R1#shpw\b\bow run\n");
    writeFile(path(u"z2.log"_s), "R2#exit\n");
    {
        QFile big(path(u"big.log"_s));
        QVERIFY(big.open(QIODevice::WriteOnly));
        const QByteArray piece = times("abc\x1b[K R1#$\b", 1 << 16);
        for (qint64 written = 0; written < qint64(limit / 2); written += piece.size())
            big.write(piece);
        big.write("\n");
    }
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.setChildProcessModifier([] {
        const rlimit bound{limit, limit};
        ::setrlimit(RLIMIT_AS, &bound);
    });
    process.start(program_, {u"--controls"_s, u"--scroll"_s, path(u"a1.log"_s), path(u"big.log"_s), path(u"z2.log"_s)});
    QVERIFY(process.waitForFinished(300000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), u"tarnwick: %1: not converted: line 1 is too long to clean in memory\n"_s.arg(path(u"big.log"_s)));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(readFile(path(u"a1.txt"_s)), QByteArray("R1#show run\r\n"));
    QCOMPARE(readFile(path(u"z2.txt"_s)), QByteArray("R2#exit\r\n"));
    QVERIFY(!QFileInfo::exists(path(u"big.txt"_s)));
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
}

void tst_Batch::loadsWindowLibrariesOnlyForWindow_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the log
    QTest::addColumn<QString>("platform");      // empty for no display
    QTest::addColumn<QString>("point");
    QTest::addColumn<bool>("window");
    QTest::newRow("a batch without a display") << QStringList{u"@"_s} << QString() << u"start"_s << false;
    QTest::newRow("-c") << QStringList{u"-c"_s, u"@"_s} << QString() << u"standard output"_s << false;
    QTest::newRow("-c with a display") << QStringList{u"-c"_s, u"@"_s} << u"minimal"_s << u"standard output"_s << false;
    QTest::newRow("- with a display") << QStringList{u"-"_s} << u"minimal"_s << u"standard output"_s << false;
    QTest::newRow("a batch in the window") << QStringList{u"@"_s} << u"minimal"_s << u"start"_s << true;
}

// The libraries the running program has mapped, read from /proc while it is held at a point of its
// run: Qt Gui and Qt Widgets (and the window's module) only where a window is made.
void tst_Batch::loadsWindowLibrariesOnlyForWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(QString, point);
    QFETCH(bool, window);
    writeFile(path(u"r1.log"_s), "R1#shpw\b\bow run\n");
    arguments.replaceInStrings(u"@"_s, path(u"r1.log"_s));
    PausePoint pause(path(u"pause"_s), point);
    QProcessEnvironment environment = withoutDisplay();
    if (!platform.isEmpty())
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    pause.holdIn(environment);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program_, arguments);
    if (arguments.contains(u"-"_s)) {
        process.write("R1#shpw\b\bow run\n");
        process.closeWriteChannel();
    }
    QVERIFY(pause.reached(process));
    const QByteArray maps = readFile(u"/proc/%1/maps"_s.arg(process.processId()));
    pause.release();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(maps.contains("libQt6Core.so"));
    for (const char *library : {"libQt6Gui.so", "libQt6Widgets.so", "tarnwick-window"})
        QVERIFY2(maps.contains(library) == window, library);
}

QTEST_GUILESS_MAIN(tst_Batch)
#include "tst_batch.moc"
