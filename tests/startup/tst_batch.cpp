#include "TestSupport.h"

#include <QProcess>
#include <QtTest>

#include <csignal>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
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
    void convertsEveryPath();
    void reportsFailingFileAndGoesOn();
    void refusesEmptyTokenWithoutFailing();
    void needsDisplayOrPaths();
    void twoInstancesRunAtOnce();
    void installedProgramUsesUserFolders();
    void endingSignalLeavesNothing_data();
    void endingSignalLeavesNothing();

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
    QTest::newRow("help") << u"--help"_s << u"Usage: tarnwick [LOG...]"_s;
}

void tst_Batch::printsHelpAndVersion()
{
    QFETCH(QString, option);
    QFETCH(QString, output);
    const Result result = run({option});
    QCOMPARE(result.status, 0);
    QVERIFY(result.out.startsWith(output));
    QCOMPARE(result.err, QString());
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

void tst_Batch::reportsFailingFileAndGoesOn()
{
    writeFile(path(u"good.log"_s), "ok\n");
    const Result result = run({path(u"missing.log"_s), path(u"good.log"_s)});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err, u"tarnwick: Cannot open \"%1\": No such file or directory\n"_s.arg(path(u"missing.log"_s)));
    QCOMPARE(readFile(path(u"good.txt"_s)), QByteArray("ok\r\n"));
}

void tst_Batch::refusesEmptyTokenWithoutFailing()
{
    writeFile(path(u"a.log"_s), "a\n");
    const Result result = run({path(u"a.log"_s), QString()});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QString());
    QCOMPARE(readFile(path(u"a.txt"_s)), QByteArray("a\r\n"));
}

void tst_Batch::needsDisplayOrPaths()
{
    const Result result = run({});
    QCOMPARE(result.status, 2);
    QVERIFY(result.err.startsWith(u"tarnwick: no display"_s));
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

void tst_Batch::installedProgramUsesUserFolders()
{
    // A program folder that cannot be written, as for an installed program.
    const SmallDisk disk(path(u"installed"_s), 256 * 1024);
    if (!disk.mounted())
        QSKIP("needs root to mount a read-only file system");
    const QString installed = install(path(u"installed"_s));
    QVERIFY(disk.remountReadOnly());
    program_ = installed;
    QVERIFY(QDir().mkpath(path(u"config/Tarnwick"_s)) && QDir().mkpath(path(u"tmp"_s)));
    writeFile(path(u"config/Tarnwick/Tarnwick.ini"_s), "[Tarnwick]\nFileExt=cfg\n");
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
    environment.insert(u"TMPDIR"_s, path(u"tmp"_s));
    writeFile(path(u"r1.log"_s), "abc\b\n");

    const Result result = run({path(u"r1.log"_s)}, environment);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(readFile(path(u"r1.cfg"_s)), QByteArray("ab\r\n"));
    QCOMPARE(QDir(path(u"tmp"_s)).entryList(QDir::Files), QStringList());
}

void tst_Batch::endingSignalLeavesNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("cleaning"); // else in the normalising pass
    QTest::newRow("SIGTERM, normalising") << SIGTERM << false;
    QTest::newRow("SIGTERM, cleaning") << SIGTERM << true;
    QTest::newRow("SIGHUP, cleaning") << SIGHUP << true;
}

void tst_Batch::endingSignalLeavesNothing()
{
    QFETCH(int, signal);
    QFETCH(bool, cleaning);
    QVERIFY(QDir().mkpath(path(u"logs"_s)));
    const QByteArray source = times("R1#shpw\b\bow interfaces status | include connected\n", 2000000);
    writeFile(path(u"logs/r1.log"_s), source);
    writeFile(path(u"logs/r1.txt"_s), "an older output\r\n");
    const QStringList before{u"r1.log"_s, u"r1.txt"_s};

    // The normalising pass has begun when the temporary file appears, the cleaning pass when
    // it holds the whole source, each LF as CR LF.
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(program_, {path(u"logs/r1.log"_s)});
    QVERIFY(process.waitForStarted());
    const auto passBegun = [&] {
        const QStringList temporary = QDir(path(u"bin"_s)).entryList({u"Tarnwick-*.tmp"_s}, QDir::Files);
        return !temporary.isEmpty()
            && (!cleaning || QFileInfo(path(u"bin/"_s) + temporary.first()).size() == source.size() + source.count('\n'));
    };
    bool ended = false;
    while (!(ended = process.waitForFinished(0)) && !passBegun())
        QThread::usleep(200);
    QVERIFY2(!ended, "the run ended before the signal could be sent");
    kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(60000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signal);
    QVERIFY(readFile(path(u"logs/r1.log"_s)) == source);
    QCOMPARE(readFile(path(u"logs/r1.txt"_s)), QByteArray("an older output\r\n"));
    QCOMPARE(QDir(path(u"logs"_s)).entryList(QDir::Files), before);
    QCOMPARE(QDir(path(u"bin"_s)).entryList(QDir::Files), (QStringList{u"tarnwick"_s, u"Tarnwick.ini"_s}));
}

QTEST_GUILESS_MAIN(tst_Batch)
#include "tst_batch.moc"
