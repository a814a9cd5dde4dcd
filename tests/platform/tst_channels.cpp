#include "TestSupport.h"
#include "platform/TextInput.h"
#include "platform/TextOutput.h"

#include <QtTest>

#include <sys/stat.h>

using tarnwick::TextInput;
using tarnwick::TextOutput;
using namespace testsupport;
using namespace Qt::StringLiterals;

class tst_Channels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsLinesAcrossBufferBoundaries_data();
    void readsLinesAcrossBufferBoundaries();
    void readsBlocksOfTheWholeFile();
    void reportsInputThatCannotBeOpened_data();
    void reportsInputThatCannotBeOpened();
    void writesThroughSmallAndLargeBuffers();
    void safeOutputReplacesOnlyOnCommit();
    void safeOutputKeepsOldFileWhenDiskFills();
    void freshOutputIsPrivateAndDoesNotFollowLinks();
    void writesDevicesDirectly();
    void reportsOutputThatCannotBeCreated();

private:
    QTemporaryDir dir_;
};

// Lines as the channel defines them: ended by CR LF or by the end of the file.
static QList<QByteArray> expectedLines(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    QList<QByteArray> result;
    QByteArray pending;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        pending += lines[i];
        if (i + 1 == lines.size())
            break;
        if (pending.endsWith('\r')) {
            pending.chop(1);
            result.append(pending);
            pending.clear();
        } else {
            pending += '\n';
        }
    }
    if (!pending.isEmpty())
        result.append(pending);
    return result;
}

void tst_Channels::readsLinesAcrossBufferBoundaries_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("one line without line end") << QByteArray("abc");
    QTest::newRow("one line with CR LF") << QByteArray("abc\r\n");
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("last line without line end") << QByteArray("ab\r\ncd\r\nef");
    QTest::newRow("lone CR and lone LF stay in the line") << QByteArray("a\rb\r\nc\nd\r\n");
    QTest::newRow("CR before CR LF") << QByteArray("x\r\r\ny\r\r\n");
    QTest::newRow("CR at end of file") << QByteArray("abc\r");
    QTest::newRow("multi-byte characters") << QByteArray("\xE3\x81\x82\xE3\x81\x84\r\n\x82\xA0\x82\xA2\r\n\xF0\x9F\x98\x80");
    QTest::newRow("backspaces and NUL") << QByteArray("ab\b\bc\r\n\0\0\r\n", 11);
    QTest::newRow("long line") << (times("0123456789", 40) + "\r\n" + times("x", 33));
}

void tst_Channels::readsLinesAcrossBufferBoundaries()
{
    QFETCH(QByteArray, text);
    const QString path = dir_.filePath(u"lines"_s);
    writeFile(path, text);
    // Every split of a CR LF pair, of a multi-byte character and of a line by the buffer's end.
    for (const std::size_t bufferSize : {1, 2, 3, 4, 5, 7, 8, 64, 1 << 20}) {
        TextInput input(bufferSize);
        QVERIFY(input.open(path));
        QList<QByteArray> lines;
        while (!input.atEnd()) {
            const std::string_view line = input.readLine();
            lines.append(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
        }
        QVERIFY(!input.failed());
        QCOMPARE(lines, expectedLines(text));
    }
}

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
    QVERIFY(output.open(path, TextOutput::Mode::Fresh));
    for (const QByteArray &piece : {QByteArray("ab"), QByteArray(), times("z", 8), QByteArray("0123456"), times("long", 50)}) {
        output.writeLine(piece.toStdString());
        expected += piece + "\r\n";
    }
    output.write("tail");
    expected += "tail";
    QVERIFY(output.commit());
    QCOMPARE(readFile(path), expected);
}

void tst_Channels::safeOutputReplacesOnlyOnCommit()
{
    QVERIFY(QDir(dir_.path()).mkdir(u"safe"_s));
    const QString path = dir_.filePath(u"safe/out.txt"_s);
    writeFile(path, "old contents\r\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    {
        TextOutput output;
        QVERIFY(output.open(path, TextOutput::Mode::Safe));
        output.writeLine("new");
        QCOMPARE(readFile(path), QByteArray("old contents\r\n"));
        output.discard();
    }
    QCOMPARE(readFile(path), QByteArray("old contents\r\n"));
    {
        TextOutput output;
        QVERIFY(output.open(path, TextOutput::Mode::Safe));
        output.writeLine("new");
    } // destroyed without commit
    QCOMPARE(readFile(path), QByteArray("old contents\r\n"));

    TextOutput output;
    QVERIFY(output.open(path, TextOutput::Mode::Safe));
    output.writeLine("new");
    QVERIFY(output.commit());
    QCOMPARE(readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup), QFile::ReadGroup);
    QCOMPARE(QDir(dir_.filePath(u"safe"_s)).entryList(QDir::Files), QStringList{u"out.txt"_s});
}

void tst_Channels::safeOutputKeepsOldFileWhenDiskFills()
{
    const SmallDisk disk(dir_.filePath(u"small"_s), 64);
    if (!disk.mounted())
        QSKIP("needs root to mount a small tmpfs");
    const QString path = dir_.filePath(u"small/out.txt"_s);
    writeFile(path, "old\r\n");

    TextOutput output(4096);
    QVERIFY(output.open(path, TextOutput::Mode::Safe));
    for (int i = 0; i < 10000 && !output.failed(); ++i)
        output.writeLine("a line that will not fit on the disk");
    QVERIFY(!output.commit());
    QVERIFY2(output.errorString().contains(u"No space left on device"_s), qPrintable(output.errorString()));
    QCOMPARE(readFile(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir_.filePath(u"small"_s)).entryList(QDir::Files), QStringList{u"out.txt"_s});
}

void tst_Channels::freshOutputIsPrivateAndDoesNotFollowLinks()
{
    const QString victim = dir_.filePath(u"victim.txt"_s);
    const QString planted = dir_.filePath(u"planted.tmp"_s);
    writeFile(victim, "precious\r\n");
    QVERIFY(QFile::link(victim, planted));
    TextOutput output;
    QVERIFY(output.open(planted, TextOutput::Mode::Fresh));
    output.writeLine("temporary");
    QVERIFY(output.commit());
    QCOMPARE(readFile(victim), QByteArray("precious\r\n"));
    QVERIFY(!QFileInfo(planted).isSymLink());
    QCOMPARE(readFile(planted), QByteArray("temporary\r\n"));
    QCOMPARE(QFile::permissions(planted) & ~(QFile::ReadUser | QFile::WriteUser), QFile::ReadOwner | QFile::WriteOwner);
}

void tst_Channels::writesDevicesDirectly()
{
    TextOutput toNull;
    QVERIFY(toNull.open(u"/dev/null"_s, TextOutput::Mode::Safe));
    toNull.writeLine("discarded");
    QVERIFY(toNull.commit());
    struct stat status {};
    QCOMPARE(stat("/dev/null", &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));

    TextOutput toFull(16);
    QVERIFY(toFull.open(u"/dev/full"_s, TextOutput::Mode::Safe));
    toFull.writeLine("more than sixteen bytes of text");
    QVERIFY(!toFull.commit());
    QVERIFY2(toFull.errorString().contains(u"No space left on device"_s), qPrintable(toFull.errorString()));
    QCOMPARE(stat("/dev/full", &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));
}

void tst_Channels::reportsOutputThatCannotBeCreated()
{
    for (const auto mode : {TextOutput::Mode::Fresh, TextOutput::Mode::Safe}) {
        TextOutput output;
        QVERIFY(!output.open(dir_.filePath(u"nowhere/out.txt"_s), mode));
        QVERIFY(output.failed());
        QVERIFY2(output.errorString().contains(u"No such file or directory"_s), qPrintable(output.errorString()));
        QVERIFY(!output.commit());
    }
}

QTEST_GUILESS_MAIN(tst_Channels)
#include "tst_channels.moc"
