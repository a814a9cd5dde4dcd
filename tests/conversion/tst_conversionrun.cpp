#include "TestSupport.h"
#include "conversion/ConversionRun.h"
#include "batch/Messages.h"
#include "conversion/StreamConversion.h"

#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using tarnwick::CharacterRule;
using tarnwick::ConversionRun;
using tarnwick::RunOutcome;
using tarnwick::RunOptions;
using tarnwick::RunPaths;
using tarnwick::TextInput;
using namespace testsupport;
using namespace Qt::StringLiterals;
using Status = RunOutcome::Status;

Q_DECLARE_METATYPE(RunOutcome::Status)
Q_DECLARE_METATYPE(CharacterRule)
Q_DECLARE_METATYPE(tarnwick::EncodingSetting)

namespace {

// The options of a run with the overwrite setting on.
const tarnwick::RunOptions overwrite{.replacesSource = true};

QString message(const RunOutcome &outcome)
{
    return tarnwick::failureSentence(outcome, tarnwick::Language::English);
}

// The same source through the one-pass conversion, read and written in blocks of `bufferSize`.
QByteArray streamed(const QString &source, bool scroll, std::size_t bufferSize, bool *erasersLost = nullptr)
{
    QFile input(source);
    QTemporaryFile outputFile;
    if (!input.open(QIODevice::ReadOnly) || !outputFile.open())
        return "<cannot open>";
    const RunOutcome outcome = tarnwick::StreamConversion(CharacterRule::Utf8, scroll, {.bufferSize = bufferSize}).run(input, source, outputFile, u"out"_s);
    if (outcome.status != RunOutcome::Status::Completed)
        return "<failed>";
    if (erasersLost)
        *erasersLost = outcome.erasersLost;
    outputFile.seek(0);
    return outputFile.readAll();
}

// Stands in for the window: records the progress texts and acts at chosen progress steps.
class Host : public tarnwick::RunHost {
public:
    QStringList progress;
    QList<std::optional<int>> shares;
    int nonTextAsked = 0;
    bool convertsNonText = true;
    int steps = 0;
    bool scroll = false;
    std::function<void(int step)> atStep;

    void showProgress(const QString &text) override { progress.append(text); }
    void showShareRead(std::optional<int> percent) override { shares.append(percent); }
    bool convertNonText() override
    {
        ++nonTextAsked;
        return convertsNonText;
    }
    void processEvents() override
    {
        ++steps;
        if (atStep)
            atStep(steps);
    }
    bool scrollOn() const override { return scroll; }
};

QByteArray numberedLines(int count, const QByteArray &lineEnd = "\n")
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "line " + QByteArray::number(i) + lineEnd;
    return text;
}

QByteArray cleanedNumberedLines(int count)
{
    return numberedLines(count, "\r\n");
}

} // namespace

class tst_ConversionRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void normalisesLineEnds_data();
    void normalisesLineEnds();
    void readsEachSourceInItsEncoding_data();
    void readsEachSourceInItsEncoding();
    void readsAcrossBufferBoundaries();
    void copiesUntouchedLinesAtBlockEdges_data();
    void copiesUntouchedLinesAtBlockEdges();
    void abortInNormalisingPassLeavesOutputUntouched_data();
    void abortInNormalisingPassLeavesOutputUntouched();
    void abortInCleaningPassKeepsLinesCleanedSoFar();
    void abortsSourceWithoutLineEnds();
    void interruptKeepsNothing_data();
    void interruptKeepsNothing();
    void runsFromOneNumberShareNoFile();
    void overwriteLeavesWhatIsPlantedAtTemporaryName_data();
    void overwriteLeavesWhatIsPlantedAtTemporaryName();
    void overwritesSourceOnlyWhenComplete_data();
    void overwritesSourceOnlyWhenComplete();
    void sourceSurvivesFullDiskWhenOverwritten();
    void reportsFailures_data();
    void reportsFailures();
    void failedOutputKeepsExistingFile();
    void reportsTemporaryFileThatCannotBeDeleted();
    void makesTemporaryFileWhereItCan_data();
    void makesTemporaryFileWhereItCan();
    void scrollSettingTakesEffectFromNextLine();
    void cleansRealCaptures_data();
    void cleansRealCaptures();
    void tellsPlainTextLogs_data();
    void tellsPlainTextLogs();
    void asksBeforeConvertingNonText_data();
    void asksBeforeConvertingNonText();
    void masksSecretsAsTheLinesFinallyRead_data();
    void masksSecretsAsTheLinesFinallyRead();

private:
    RunPaths paths(const QString &source, const QString &output) const
    {
        return {dir_->filePath(source), dir_->filePath(output), dir_->filePath(u"Tarnwick-0000ABCD.tmp"_s)};
    }
    QStringList files() const { return QDir(dir_->path()).entryList(QDir::Files); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void tst_ConversionRun::initTestCase()
{
    tarnwick::installJapaneseTranslations(*QCoreApplication::instance(), false);
}

void tst_ConversionRun::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
}

void tst_ConversionRun::normalisesLineEnds_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("progress");

    QTest::newRow("empty source") << QByteArray() << QByteArray() << QStringList{u"0 / 0"_s, u"0 / 0"_s, u"0 / 0"_s, u"0 / 0"_s};
    const QStringList twoLines{u"0 / 0"_s, u"0 / 2"_s, u"0 / 2"_s, u"2 / 2"_s};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n") << twoLines;
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n") << twoLines;
    QTest::newRow("CR LF and LF mixed") << QByteArray("a\nb\r\n") << QByteArray("a\r\nb\r\n") << twoLines;
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb\r\r\n") << QByteArray("a\r\nb\r\n") << twoLines;
    QTest::newRow("last line without LF") << QByteArray("a\nb") << QByteArray("a\r\nb\r\n") << twoLines;
    QTest::newRow("CR inside a line vanishes") << QByteArray("ab\rcd\n") << QByteArray("abcd\r\n")
                                               << QStringList{u"0 / 0"_s, u"0 / 1"_s, u"0 / 1"_s, u"1 / 1"_s};
    QTest::newRow("CR-only line ends make one line") << QByteArray("a\rb\rc\r") << QByteArray("abc\r\n")
                                                     << QStringList{u"0 / 0"_s, u"0 / 1"_s, u"0 / 1"_s, u"1 / 1"_s};
    QTest::newRow("CR after the last LF counts but writes nothing") << QByteArray("a\n\r") << QByteArray("a\r\n")
                                                                    << QStringList{u"0 / 0"_s, u"0 / 2"_s, u"0 / 2"_s, u"1 / 2"_s};
    QTest::newRow("only CRs") << QByteArray("\r\r") << QByteArray() << QStringList{u"0 / 0"_s, u"0 / 1"_s, u"0 / 1"_s, u"0 / 1"_s};
    QTest::newRow("empty lines kept") << QByteArray("\n\n") << QByteArray("\r\n\r\n") << twoLines;
    QTest::newRow("99 lines") << numberedLines(99) << cleanedNumberedLines(99)
                              << QStringList{u"0 / 0"_s, u"0 / 99"_s, u"0 / 99"_s, u"99 / 99"_s};
    const QStringList hundred{u"0 / 0"_s, u"0 / 100"_s, u"0 / 100"_s, u"0 / 100"_s, u"100 / 100"_s, u"100 / 100"_s};
    QTest::newRow("100 lines") << numberedLines(100) << cleanedNumberedLines(100) << hundred;
    QTest::newRow("100 lines, the last without LF") << numberedLines(100).chopped(1) << cleanedNumberedLines(100) << hundred;
    QStringList thousand{u"0 / 0"_s};
    for (int step = 100; step < 1000; step += 100)
        thousand.append(u"0 / %1"_s.arg(step));
    thousand += {u"0 / 1,000"_s, u"0 / 1,000"_s, u"0 / 1,000"_s};
    for (int step = 100; step < 1000; step += 100)
        thousand.append(u"%1 / 1,000"_s.arg(step));
    thousand += {u"1,000 / 1,000"_s, u"1,000 / 1,000"_s};
    QTest::newRow("1,000 lines, digits grouped") << numberedLines(1000) << cleanedNumberedLines(1000) << thousand;
    QTest::newRow("250 lines") << numberedLines(250) << cleanedNumberedLines(250)
                               << QStringList{u"0 / 0"_s, u"0 / 100"_s, u"0 / 200"_s, u"0 / 250"_s, u"0 / 250"_s,
                                              u"100 / 250"_s, u"200 / 250"_s, u"250 / 250"_s};
}

void tst_ConversionRun::normalisesLineEnds()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, output);
    QFETCH(QStringList, progress);

    writeFile(dir_->filePath(u"r1.log"_s), source);
    Host host;
    const RunOutcome outcome = ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host).run();
    QCOMPARE(outcome.status, Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), output);
    QCOMPARE(host.progress, progress);
    QCOMPARE(host.steps, progress.size() - 4);
    QCOMPARE(files(), (QStringList{u"r1.log"_s, u"r1.txt"_s}));
    for (const std::size_t bufferSize : {std::size_t(1), std::size_t(3), TextInput::defaultBufferSize})
        QCOMPARE(streamed(dir_->filePath(u"r1.log"_s), false, bufferSize), output);
}

void tst_ConversionRun::readsEachSourceInItsEncoding_data()
{
    using tarnwick::EncodingSetting;
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<EncodingSetting>("setting");
    QTest::addColumn<CharacterRule>("system");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("piped"); // where the pipe filter, deciding at its first non-ASCII line, differs

    // 設定⌫⌫定義 in each encoding: two BackSpaces take both characters.
    const QByteArray utf8 = "R1#desc \xE8\xA8\xAD\xE5\xAE\x9A\b\b\xE5\xAE\x9A\xE7\xBE\xA9\n";
    const QByteArray utf8Cleaned = "R1#desc \xE5\xAE\x9A\xE7\xBE\xA9\r\n";
    const QByteArray sjis = "R1#desc \x90\xDD\x92\xE8\b\b\x92\xE8\x8B\x60\n";
    const QByteArray sjisCleaned = "R1#desc \x92\xE8\x8B\x60\r\n";
    const auto utf16 = [](const QString &text, bool littleEndian) {
        QByteArray bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const QChar c : text) {
            const char low = char(c.unicode() & 0xFF);
            const char high = char(c.unicode() >> 8);
            bytes += littleEndian ? low : high;
            bytes += littleEndian ? high : low;
        }
        return bytes;
    };
    const QString typed = u"R1#desc 設定\b\b定義\r\n<--- More --->\r              \r!\n"_s;
    const QString cleaned = u"R1#desc 定義\r\n!\r\n"_s;
    QTest::newRow("UTF-8 on a Shift-JIS system") << utf8 << EncodingSetting::Auto << CharacterRule::ShiftJis << utf8Cleaned << QByteArray();
    QTest::newRow("Shift-JIS on a UTF-8 system") << sjis << EncodingSetting::Auto << CharacterRule::Utf8 << sjisCleaned << QByteArray();
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF<--- More --->              ab\bc\n") << EncodingSetting::Auto << CharacterRule::ShiftJis
                                         << QByteArray("\xEF\xBB\xBF" "ac\r\n") << QByteArray();
    QTest::newRow("UTF-16 LE") << utf16(typed, true) << EncodingSetting::Auto << CharacterRule::ShiftJis << utf16(cleaned, true) << QByteArray();
    QTest::newRow("UTF-16 BE") << utf16(typed, false) << EncodingSetting::Auto << CharacterRule::Utf8 << utf16(cleaned, false) << QByteArray();
    // Surrogate pairs across the read edges at each place within a pair, two BackSpaces taking
    // two of them whole; a surrogate without its partner and a last odd byte each show as U+FFFD.
    const QString pairs = u"R1#"_s + u"𠮷😀"_s.repeated(20) + u"\b\b😀𠮷\n"_s;
    const QString pairsCleaned = u"R1#"_s + u"𠮷😀"_s.repeated(19) + u"😀𠮷\r\n"_s;
    QTest::newRow("UTF-16 LE, pairs across reads") << utf16(pairs, true) << EncodingSetting::Auto << CharacterRule::Utf8 << utf16(pairsCleaned, true) << QByteArray();
    QTest::newRow("UTF-16 BE, pairs across reads") << utf16(pairs, false) << EncodingSetting::Auto << CharacterRule::ShiftJis << utf16(pairsCleaned, false) << QByteArray();
    const QChar high(0xD842);
    const QChar low(0xDFB7);
    const QString lone = u"a"_s + high + u"b"_s + low + u"c"_s + high + high + low + u"\n"_s + high;
    QTest::newRow("UTF-16 LE, lone surrogates") << utf16(lone, true) << EncodingSetting::Auto << CharacterRule::Utf8
                                                << utf16(u"a\uFFFDb\uFFFDc\uFFFD𠮷\r\n\uFFFD\r\n"_s, true) << QByteArray();
    QTest::newRow("UTF-16 LE, a last odd byte") << utf16(u"ab\n"_s, true) + "c" << EncodingSetting::Auto << CharacterRule::Utf8
                                                << utf16(u"ab\r\n\uFFFD\r\n"_s, true) << QByteArray();
    QTest::newRow("UTF-16 BE, a pair cut short") << utf16(u"ab\n"_s + high, false) + "\xDF" << EncodingSetting::Auto << CharacterRule::Utf8
                                                 << utf16(u"ab\r\n\uFFFD\uFFFD\r\n"_s, false) << QByteArray();
    QTest::newRow("pure ASCII") << QByteArray("ab\bc\n") << EncodingSetting::Auto << CharacterRule::ShiftJis << QByteArray("ac\r\n") << QByteArray();
    // An invalid byte in both encodings: the system's rule, which here takes あ whole.
    QTest::newRow("neither, Shift-JIS system") << QByteArray("\xFF\x82\xA0\b\n") << EncodingSetting::Auto << CharacterRule::ShiftJis << QByteArray("\xFF\r\n")
                                               << QByteArray();
    QTest::newRow("neither, UTF-8 system") << QByteArray("\xFF\x82\xA0\b\n") << EncodingSetting::Auto << CharacterRule::Utf8 << QByteArray("\xFF\x82\r\n")
                                           << QByteArray();
    // Given settings: the bytes are read by that encoding's rule, whatever they are.
    QTest::newRow("UTF-8 given for Shift-JIS") << sjis << EncodingSetting::Utf8 << CharacterRule::ShiftJis << QByteArray("R1#desc \x90\x92\xE8\x8B\x60\r\n")
                                               << QByteArray();
    QTest::newRow("Shift-JIS given for UTF-8") << utf8 << EncodingSetting::ShiftJis << CharacterRule::Utf8
                                               << QByteArray("R1#desc \xE8\xA8\xAD\xE5\xAE\x9A\xE7\xBE\xA9\r\n") << QByteArray();
    QTest::newRow("system given for UTF-8") << utf8 << EncodingSetting::System << CharacterRule::ShiftJis
                                            << QByteArray("R1#desc \xE8\xA8\xAD\xE5\xAE\x9A\xE7\xBE\xA9\r\n") << QByteArray();
    QTest::newRow("UTF-16 mark, UTF-8 given") << QByteArrayLiteral("\xFF\xFE" "a\0\n\0") << EncodingSetting::Utf8 << CharacterRule::Utf8
                                              << QByteArrayLiteral("\xFF\xFE" "a\0\r\n\0\r\n") << QByteArray();
    // The file is read whole before its rule is chosen: in two encodings, each line is read by its
    // own (neither, the system's); the pipe chooses at its first non-ASCII line.
    QTest::newRow("UTF-8 line, then an invalid one") << utf8 + "\xFF\x82\xA0\b\n" << EncodingSetting::Auto << CharacterRule::ShiftJis
                                                     << utf8Cleaned + "\xFF\r\n" << utf8Cleaned + "\xFF\x82\r\n";
    // An old CP932 log appended to in UTF-8, on either system.
    QTest::newRow("Shift-JIS and UTF-8 lines") << sjis + utf8 << EncodingSetting::Auto << CharacterRule::Utf8 << sjisCleaned + utf8Cleaned
                                               << sjisCleaned + "R1#desc \xE8\xA8\xAD\xE5\xAE\x9A\xE7\xBE\xA9\r\n";
    QTest::newRow("UTF-8 and Shift-JIS lines") << utf8 + sjis << EncodingSetting::Auto << CharacterRule::ShiftJis << utf8Cleaned + sjisCleaned
                                               << utf8Cleaned + "R1#desc \x90\x92\xE8\x8B\x60\r\n";
}

void tst_ConversionRun::readsEachSourceInItsEncoding()
{
    QFETCH(QByteArray, source);
    QFETCH(tarnwick::EncodingSetting, setting);
    QFETCH(CharacterRule, system);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, piped);

    writeFile(dir_->filePath(u"r1.log"_s), source);
    for (const std::size_t bufferSize : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(37), TextInput::defaultBufferSize}) {
        Host host;
        const RunOptions options{.encoding = setting, .bufferSize = bufferSize};
        QCOMPARE(ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), system, host, options).run().status, Status::Completed);
        QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), output);

        // A file given to the pipe filter is judged whole too; a pipe as it comes (it is small
        // enough to be written into one whole before it is read).
        for (const bool pipe : {false, true}) {
            QFile input(dir_->filePath(u"r1.log"_s));
            int ends[2] = {-1, -1};
            if (pipe) {
                QVERIFY(::pipe(ends) == 0 && ::write(ends[1], source.constData(), std::size_t(source.size())) == source.size() && ::close(ends[1]) == 0);
                QVERIFY(input.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
            } else {
                QVERIFY(input.open(QIODevice::ReadOnly));
            }
            QTemporaryFile streamedOutput;
            QVERIFY(streamedOutput.open());
            tarnwick::StreamConversion(system, false, {.encoding = setting, .bufferSize = bufferSize}).run(input, {}, streamedOutput, {});
            QVERIFY(streamedOutput.seek(0));
            QCOMPARE(streamedOutput.readAll(), pipe && !piped.isEmpty() ? piped : output);
        }
    }
}

void tst_ConversionRun::readsAcrossBufferBoundaries()
{
    // Lines and line ends that straddle the 1 MiB read buffer in both passes: a CR LF split
    // between two reads, a multi-byte character and a BackSpace on either side of the split.
    const int mebibyte = 1 << 20;
    QByteArray source(mebibyte - 1, 'a');
    source += "\r\n";
    source += QByteArray(mebibyte - 5, 'b') + "\xE3\x81\x82\b" + "x\n";
    source += QByteArray(3 * mebibyte, 'c') + "\b\n";
    writeFile(dir_->filePath(u"big.log"_s), source);
    Host host;
    QCOMPARE(ConversionRun(paths(u"big.log"_s, u"big.txt"_s), CharacterRule::Utf8, host).run().status, Status::Completed);
    const QByteArray expected = QByteArray(mebibyte - 1, 'a') + "\r\n" + QByteArray(mebibyte - 5, 'b') + "x\r\n"
        + QByteArray(3 * mebibyte - 1, 'c') + "\r\n";
    QVERIFY(readFile(dir_->filePath(u"big.txt"_s)) == expected);
}

void tst_ConversionRun::copiesUntouchedLinesAtBlockEdges_data()
{
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<bool>("controls");
    QTest::addColumn<QByteArray>("prompt"); // another vendor's, or the user's "Hit*key"
    for (const int size : {16, 37, 64, 1000, int(TextInput::defaultBufferSize)}) {
        for (const QByteArray &prompt : {QByteArray("  --More-- "), QByteArray(" Hit any key ")}) {
            QTest::addRow("%d-byte blocks, %s", size, prompt.constData()) << size << false << prompt;
            QTest::addRow("%d-byte blocks, controls, %s", size, prompt.constData()) << size << true << prompt;
        }
    }
}

void tst_ConversionRun::copiesUntouchedLinesAtBlockEdges()
{
    // Lines the cleaners act on first, last, at and around the 100-line steps, among lines that
    // are copied in one piece; some longer than a block. A pager prompt is the first line, the
    // last (without its LF) and the first after a step; two lines move up over the lines before
    // them, the second by a CSI that no block holds whole.
    QFETCH(int, bufferSize);
    QFETCH(bool, controls);
    QFETCH(QByteArray, prompt);
    QByteArray source;
    for (int i = 1; i <= 350; ++i) {
        if (i == 1 || i == 101)
            source += prompt + "\n";
        else if (i == 350)
            source += prompt;
        else if (i == 2 || i == 349 || i == 99 || i == 228)
            source += "shpw\b\bow run " + QByteArray::number(i) + "\n";
        else if (i == 100 || i == 201)
            source += "<--- More --->              interface " + QByteArray::number(i) + "\n";
        else if (i == 150)
            source += " --More-- \x1b[K\n";
        else if (i == 120)
            source += "up \x1b[3A\x1b[Gover 120\n";
        else if (i > 225 && i < 250)
            source += "\n";
        else if (i == 250) // up over a screen's height of lines
            source += "up \x1b[" + QByteArray(1100, '0') + "30A\x1b[Gover 250\n";
        else if (i % 7 == 0)
            source += times("long line ", 9) + QByteArray::number(i) + "\r\n";
        else
            source += "line " + QByteArray::number(i) + "\n";
    }
    writeFile(dir_->filePath(u"r1.log"_s), source);
    Host host;
    const tarnwick::RunOptions options{.controlsOn = controls, .pagerPrompts = {u"Hit*key"_s}, .bufferSize = std::size_t(bufferSize)};
    const RunOutcome outcome = ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host, options).run();
    QCOMPARE(outcome.status, Status::Completed);
    QFile input(dir_->filePath(u"r1.log"_s));
    QTemporaryFile reference;
    QVERIFY(input.open(QIODevice::ReadOnly) && reference.open());
    tarnwick::StreamConversion(CharacterRule::Utf8, false, options).run(input, {}, reference, {});
    QVERIFY(reference.seek(0));
    const QByteArray output = readFile(dir_->filePath(u"r1.txt"_s));
    QCOMPARE(output, reference.readAll());
    QCOMPARE(output.count(prompt + "\r\n"), controls ? 0 : 3);
    if (controls)
        QVERIFY(output.contains("\r\nline 225\r\n\r\nover 250\r\nline 251 228\r\n")); // as tmux, given the CSI without its zeros
    QCOMPARE(host.progress, (QStringList{u"0 / 0"_s, u"0 / 100"_s, u"0 / 200"_s, u"0 / 300"_s, u"0 / 350"_s, u"0 / 350"_s,
                                         u"100 / 350"_s, u"200 / 350"_s, u"300 / 350"_s, u"350 / 350"_s}));
    // The share read grows with each read to the whole, and is gone once the lines are cleaned.
    QCOMPARE(host.shares.last(), std::nullopt);
    const QList<std::optional<int>> read = host.shares.first(host.shares.size() - 1);
    QVERIFY(!read.isEmpty() && std::is_sorted(read.cbegin(), read.cend()) && read.last() == 100);
    if (bufferSize == 16)
        QVERIFY(read.size() > 50);
}

void tst_ConversionRun::abortInNormalisingPassLeavesOutputUntouched_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("abortAtStep");
    QTest::addColumn<QString>("lastProgress");
    QTest::newRow("first step") << 250 << 1 << u"0 / 100"_s;
    QTest::newRow("last step, source read to its end") << 200 << 2 << u"0 / 200"_s;
}

void tst_ConversionRun::abortInNormalisingPassLeavesOutputUntouched()
{
    QFETCH(int, lines);
    QFETCH(int, abortAtStep);
    QFETCH(QString, lastProgress);

    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(lines));
    writeFile(dir_->filePath(u"r1.txt"_s), "an older output\r\n");
    Host host;
    ConversionRun run(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host);
    host.atStep = [&](int step) {
        if (step == abortAtStep)
            run.abort();
    };
    QCOMPARE(run.run().status, Status::Aborted);
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), QByteArray("an older output\r\n"));
    QCOMPARE(host.progress.last(), lastProgress);
    QCOMPARE(host.steps, abortAtStep);
    QCOMPARE(files(), (QStringList{u"r1.log"_s, u"r1.txt"_s}));
}

void tst_ConversionRun::abortInCleaningPassKeepsLinesCleanedSoFar()
{
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(350));
    writeFile(dir_->filePath(u"r1.txt"_s), "an older output\r\n");
    Host host;
    ConversionRun run(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host);
    host.atStep = [&](int step) {
        if (step == 3 + 2) // the normalising pass takes 3 steps
            run.abort();
    };
    QCOMPARE(run.run().status, Status::Aborted);
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), cleanedNumberedLines(200));
    QCOMPARE(host.progress.last(), u"200 / 350"_s);
    QCOMPARE(files(), (QStringList{u"r1.log"_s, u"r1.txt"_s}));
}

void tst_ConversionRun::abortsSourceWithoutLineEnds()
{
    writeFile(dir_->filePath(u"r1.log"_s), QByteArray(40 << 20, '\0'));
    Host host;
    ConversionRun run(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host);
    host.atStep = [&](int) { run.abort(); };
    QCOMPARE(run.run().status, Status::Aborted);
    QCOMPARE(host.steps, 1); // after the first 8 MiB
    QCOMPARE(host.progress.last(), u"0 / 0"_s);
    QCOMPARE(files(), (QStringList{u"r1.log"_s}));
}

void tst_ConversionRun::interruptKeepsNothing_data()
{
    QTest::addColumn<int>("atStep");
    QTest::newRow("normalising") << 1;
    QTest::newRow("cleaning") << 4;
}

void tst_ConversionRun::interruptKeepsNothing()
{
    QFETCH(int, atStep);
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(300, "x\b\n"));
    writeFile(dir_->filePath(u"r1.txt"_s), "an older output\r\n");
    Host host;
    ConversionRun run(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host);
    host.atStep = [&](int step) {
        if (step == atStep)
            run.interrupt();
    };
    QCOMPARE(run.run().status, Status::Aborted);
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), QByteArray("an older output\r\n"));
    QCOMPARE(readFile(dir_->filePath(u"r1.log"_s)), numberedLines(300, "x\b\n"));
    QCOMPARE(files(), (QStringList{u"r1.log"_s, u"r1.txt"_s}));
}

void tst_ConversionRun::runsFromOneNumberShareNoFile()
{
    // A second instance that starts from the same number while the first one's run goes on.
    writeFile(dir_->filePath(u"first.log"_s), numberedLines(300, "x\b\n"));
    writeFile(dir_->filePath(u"second.log"_s), numberedLines(300));
    Host firstHost;
    Host secondHost;
    RunOutcome second;
    firstHost.atStep = [&](int step) {
        if (step == 2)
            second = ConversionRun(paths(u"second.log"_s, u"second.txt"_s), CharacterRule::Utf8, secondHost).run();
    };
    QCOMPARE(ConversionRun(paths(u"first.log"_s, u"first.txt"_s), CharacterRule::Utf8, firstHost).run().status, Status::Completed);
    QCOMPARE(second.status, Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"first.txt"_s)), cleanedNumberedLines(300));
    QCOMPARE(readFile(dir_->filePath(u"second.txt"_s)), cleanedNumberedLines(300));
    QCOMPARE(files(), (QStringList{u"first.log"_s, u"first.txt"_s, u"second.log"_s, u"second.txt"_s}));
}

void tst_ConversionRun::overwriteLeavesWhatIsPlantedAtTemporaryName_data()
{
    QTest::addColumn<bool>("fifo"); // else a link to /dev/null
    QTest::newRow("link to /dev/null") << false;
    QTest::newRow("FIFO") << true;
}

void tst_ConversionRun::overwriteLeavesWhatIsPlantedAtTemporaryName()
{
    QFETCH(bool, fifo);
    const QString planted = paths({}, {}).temporary;
    if (fifo)
        QCOMPARE(mkfifo(QFile::encodeName(planted).constData(), 0666), 0);
    else
        QVERIFY(QFile::link(u"/dev/null"_s, planted));
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(250, "x\b\n"));
    Host host;
    QCOMPARE(ConversionRun(paths(u"r1.log"_s, u"r1.log"_s), CharacterRule::Utf8, host, overwrite).run().status, Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"r1.log"_s)), cleanedNumberedLines(250));
    QCOMPARE(QFileInfo(planted).isSymLink(), !fifo);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::System), (QStringList{u"r1.log"_s, QFileInfo(planted).fileName()}));
}

void tst_ConversionRun::overwritesSourceOnlyWhenComplete_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("abortAtStep");
    QTest::addColumn<QByteArray>("result");

    const QByteArray source = numberedLines(250, "x\b\n");
    QTest::newRow("same path, completed") << u"r1.log"_s << 0 << cleanedNumberedLines(250);
    QTest::newRow("same file by another path, completed") << u"./sub/../r1.log"_s << 0 << cleanedNumberedLines(250);
    QTest::newRow("same path, aborted while cleaning") << u"r1.log"_s << 4 << source;
    QTest::newRow("same path, aborted while normalising") << u"r1.log"_s << 1 << source;
}

void tst_ConversionRun::overwritesSourceOnlyWhenComplete()
{
    QFETCH(QString, output);
    QFETCH(int, abortAtStep);
    QFETCH(QByteArray, result);

    QVERIFY(QDir(dir_->path()).mkdir(u"sub"_s));
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(250, "x\b\n"));
    Host host;
    ConversionRun run(paths(u"r1.log"_s, output), CharacterRule::Utf8, host, overwrite);
    host.atStep = [&](int step) {
        if (step == abortAtStep)
            run.abort();
    };
    QCOMPARE(run.run().status, abortAtStep ? Status::Aborted : Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"r1.log"_s)), result);
    QCOMPARE(files(), QStringList{u"r1.log"_s});
}

void tst_ConversionRun::sourceSurvivesFullDiskWhenOverwritten()
{
    const SmallDisk disk(dir_->filePath(u"small"_s), 64);
    if (!disk.mounted())
        QSKIP("needs root to mount a small tmpfs");
    const QByteArray source = numberedLines(4000, "x\b\n"); // about 50 kB; its cleaned copy does not fit beside it
    writeFile(dir_->filePath(u"small/r1.log"_s), source);
    Host host;
    const RunOutcome outcome = ConversionRun(paths(u"small/r1.log"_s, u"small/r1.log"_s), CharacterRule::Utf8, host, overwrite).run();
    QCOMPARE(outcome.status, Status::Failed);
    QVERIFY2(message(outcome).contains(u"No space left on device"_s), qPrintable(message(outcome)));
    QVERIFY(message(outcome).contains(dir_->filePath(u"small/r1.log"_s)));
    QCOMPARE(readFile(dir_->filePath(u"small/r1.log"_s)), source);
    QCOMPARE(QDir(dir_->filePath(u"small"_s)).entryList(QDir::Files), QStringList{u"r1.log"_s});
    QCOMPARE(files(), QStringList());
}

void tst_ConversionRun::reportsFailures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("english"); // "@" stands for the folder of the test
    QTest::addColumn<QString>("japanese"); // up to the system's reason, which follows
    QTest::addColumn<QString>("reason");   // in Japanese, whatever the locale's language

    const QString temporary = u"@/Tarnwick-0000ABCD.tmp"_s;
    QTest::newRow("missing source") << u"@/missing.log"_s << u"@/out.txt"_s << temporary
                                    << u"Cannot open \"@/missing.log\": No such file or directory"_s
                                    << u"ファイル「@/missing.log」を開けませんでした。"_s << u"ファイルまたはフォルダーが見つかりません"_s;
    QTest::newRow("source is a folder") << u"@/folder"_s << u"@/out.txt"_s << temporary
                                        << u"Cannot open \"@/folder\": file to open is a directory"_s
                                        << u"ファイル「@/folder」を開けませんでした。"_s << u"フォルダーです"_s;
    QTest::newRow("temporary file in a missing folder") << u"@/r1.log"_s << u"@/out.txt"_s << u"@/nowhere/Tarnwick-1.tmp"_s
                                                        << u"Cannot create the temporary file \"@/nowhere/Tarnwick-1.tmp\": No such file or directory"_s
                                                        << u"一時ファイル「@/nowhere/Tarnwick-1.tmp」を作成できませんでした。"_s << u"ファイルまたはフォルダーが見つかりません"_s;
    QTest::newRow("output in a missing folder") << u"@/r1.log"_s << u"@/nowhere/out.txt"_s << temporary
                                                << u"Cannot write \"@/nowhere/out.txt\": No such file or directory"_s
                                                << u"ファイル「@/nowhere/out.txt」に書き込めませんでした。"_s << u"ファイルまたはフォルダーが見つかりません"_s;
    QTest::newRow("output on a full disk") << u"@/r1.log"_s << u"/dev/full"_s << temporary
                                           << u"Cannot write \"/dev/full\": No space left on device"_s
                                           << u"ファイル「/dev/full」に書き込めませんでした。"_s << u"ディスクの空き容量が足りません"_s;
    QTest::newRow("output is a folder") << u"@/r1.log"_s << u"@/folder"_s << temporary
                                        << u"Cannot write \"@/folder\": Is a directory"_s
                                        << u"ファイル「@/folder」に書き込めませんでした。"_s << u"フォルダーです"_s;
    QTest::newRow("output is read-only") << u"@/r1.log"_s << u"@/read-only.txt"_s << temporary
                                         << u"Cannot write \"@/read-only.txt\": the file is read-only"_s
                                         << u"ファイル「@/read-only.txt」は読み取り専用のため、書き込めませんでした。書き込みを許可するか、別の出力先を選んでください。"_s << QString();
    QTest::newRow("output is the source") << u"@/r1.log"_s << u"@/./r1.log"_s << temporary
                                          << u"Cannot convert \"@/r1.log\": the output file would be the log itself. Turn on overwriting of the log, or choose another output extension."_s
                                          << u"ファイル「@/r1.log」は変換しませんでした。"_s << QString();
    QTest::newRow("output is the source by a link") << u"@/r1.log"_s << u"@/link.txt"_s << temporary
                                                    << u"Cannot convert \"@/r1.log\": the output file would be the log itself. Turn on overwriting of the log, or choose another output extension."_s
                                                    << u"ファイル「@/r1.log」は変換しませんでした。"_s << QString();
    QTest::newRow("output is the source by a hard link") << u"@/r1.log"_s << u"@/hard.txt"_s << temporary
                                                         << u"Cannot convert \"@/r1.log\": the output file would be the log itself. Turn on overwriting of the log, or choose another output extension."_s
                                                         << u"ファイル「@/r1.log」は変換しませんでした。"_s << QString();
    QTest::newRow("another user's link in a shared folder") << u"@/r1.log"_s << u"@/shared/r1.txt"_s << temporary
                                                            << u"Cannot write \"@/shared/r1.txt\": it is a symbolic link that another user made in a shared folder."_s
                                                            << u"ファイル「@/shared/r1.txt」には書き込みませんでした。"_s << QString();
    QTest::newRow("another user's link as a folder in a shared folder") << u"@/r1.log"_s << u"@/shared/logs/r1.txt"_s << temporary
                                                                        << u"Cannot write \"@/shared/logs/r1.txt\": it is a symbolic link that another user made in a shared folder."_s
                                                                        << u"ファイル「@/shared/logs/r1.txt」には書き込みませんでした。"_s << QString();
    QTest::newRow("source is a device") << u"/dev/zero"_s << u"@/out.txt"_s << temporary << u"Cannot convert \"/dev/zero\": it is a device, not a file."_s
                                        << u"ファイル「/dev/zero」は変換しませんでした。"_s << QString();
    QTest::newRow("source is the temporary file") << temporary << u"@/out.txt"_s << temporary
                                                  << u"Cannot convert \"@/Tarnwick-0000ABCD.tmp\": it is the program's own temporary file"_s
                                                  << u"ファイル「@/Tarnwick-0000ABCD.tmp」はこのプログラムの一時ファイルのため、変換できません。"_s << QString();
}

void tst_ConversionRun::reportsFailures()
{
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, temporary);
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    QFETCH(QString, reason);

    const auto here = [&](QString path) { return path.replace(u'@', dir_->path()); };
    QVERIFY(QDir(dir_->path()).mkdir(u"folder"_s));
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(500));
    writeFile(dir_->filePath(u"read-only.txt"_s), "kept\r\n");
    QVERIFY(QFile::setPermissions(dir_->filePath(u"read-only.txt"_s), QFile::ReadOwner | QFile::ReadGroup));
    writeFile(dir_->filePath(u"Tarnwick-0000ABCD.tmp"_s), "left over\n");
    QVERIFY(QFile::link(dir_->filePath(u"r1.log"_s), dir_->filePath(u"link.txt"_s)));
    QCOMPARE(::link(QFile::encodeName(dir_->filePath(u"r1.log"_s)).constData(), QFile::encodeName(dir_->filePath(u"hard.txt"_s)).constData()), 0);
    // Another user's link to the log in a folder like /tmp, which the kernel would not follow.
    const QByteArray shared = QFile::encodeName(dir_->filePath(u"shared"_s));
    QVERIFY(::mkdir(shared.constData(), 0777) == 0 && ::chmod(shared.constData(), 01777) == 0);
    QVERIFY(QFile::link(dir_->filePath(u"read-only.txt"_s), dir_->filePath(u"shared/r1.txt"_s)));
    QVERIFY(QFile::link(dir_->filePath(u"folder"_s), dir_->filePath(u"shared/logs"_s)));
    if (QByteArrayView(QTest::currentDataTag()).startsWith("another user's link")
        && (::lchown((shared + "/r1.txt").constData(), 65534, 65534) != 0 || ::lchown((shared + "/logs").constData(), 65534, 65534) != 0))
        QSKIP("needs root to give the link to another user");
    Host host;
    const RunOutcome outcome = ConversionRun({here(source), here(output), here(temporary)}, CharacterRule::Utf8, host).run();
    QCOMPARE(outcome.status, Status::Failed);
    QCOMPARE(message(outcome), here(english));
    // In Japanese the system's reason, where there is one, follows as a sentence of its own,
    // and advice may follow it.
    const QString inJapanese = tarnwick::failureSentence(outcome, tarnwick::Language::Japanese);
    const QString expected = here(japanese) + (reason.isEmpty() ? QString() : reason + u'。');
    QVERIFY2(inJapanese.startsWith(expected), qPrintable(inJapanese));
    QCOMPARE(inJapanese.count(here(output)) + inJapanese.count(here(source)), outcome.file == here(output) || outcome.file == here(source) ? 1 : 0);
    QCOMPARE(readFile(dir_->filePath(u"r1.log"_s)), numberedLines(500));
    QCOMPARE(readFile(dir_->filePath(u"read-only.txt"_s)), QByteArray("kept\r\n"));
    QVERIFY(!files().contains(u"out.txt"_s));
    QVERIFY(!QFileInfo::exists(dir_->filePath(u"folder/r1.txt"_s)));
    QCOMPARE(readFile(dir_->filePath(u"hard.txt"_s)), numberedLines(500));
}

void tst_ConversionRun::failedOutputKeepsExistingFile()
{
    const SmallDisk disk(dir_->filePath(u"small"_s), 64);
    if (!disk.mounted())
        QSKIP("needs root to mount a small tmpfs");
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(20000));
    writeFile(dir_->filePath(u"small/r1.txt"_s), "an older output\r\n");
    Host host;
    const RunOutcome outcome = ConversionRun(paths(u"r1.log"_s, u"small/r1.txt"_s), CharacterRule::Utf8, host).run();
    QCOMPARE(outcome.status, Status::Failed);
    QCOMPARE(message(outcome), u"Cannot write \"%1\": No space left on device"_s.arg(dir_->filePath(u"small/r1.txt"_s)));
    QCOMPARE(readFile(dir_->filePath(u"small/r1.txt"_s)), QByteArray("an older output\r\n"));
    QCOMPARE(QDir(dir_->filePath(u"small"_s)).entryList(QDir::Files), QStringList{u"r1.txt"_s});
    QCOMPARE(files(), QStringList{u"r1.log"_s});

    // The temporary file itself on the full disk.
    const RunOutcome tempFull = ConversionRun({dir_->filePath(u"r1.log"_s), dir_->filePath(u"r1.txt"_s), dir_->filePath(u"small/Tarnwick-1.tmp"_s)},
                                              CharacterRule::Utf8, host).run();
    QCOMPARE(tempFull.status, Status::Failed);
    QCOMPARE(message(tempFull), u"Cannot write the temporary file \"%1\": No space left on device"_s.arg(dir_->filePath(u"small/Tarnwick-1.tmp"_s)));
    QCOMPARE(QDir(dir_->filePath(u"small"_s)).entryList(QDir::Files), QStringList{u"r1.txt"_s});
    QCOMPARE(files(), QStringList{u"r1.log"_s});
}

void tst_ConversionRun::reportsTemporaryFileThatCannotBeDeleted()
{
    // A folder in which nothing can be deleted any more: immutable for root, unwritable otherwise.
    const QString folder = dir_->filePath(u"locked"_s);
    QVERIFY(QDir().mkpath(folder));
    const auto lock = [&](bool locked) {
        if (runsAsRoot())
            return QProcess::execute(u"chattr"_s, {locked ? u"+i"_s : u"-i"_s, folder}) == 0;
        return QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | (locked ? QFile::Permissions() : QFile::WriteOwner));
    };
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(300));
    const QString temporary = folder + u"/Tarnwick-00000001.tmp"_s;
    Host host;
    bool locked = false;
    host.atStep = [&](int step) {
        if (step == 4) // in the cleaning pass
            locked = lock(true);
    };
    const RunOutcome outcome = ConversionRun({dir_->filePath(u"r1.log"_s), dir_->filePath(u"r1.txt"_s), temporary}, CharacterRule::Utf8, host).run();
    if (!locked)
        QSKIP("the file system of the test folder cannot be made immutable");
    QVERIFY(lock(false));
    QCOMPARE(outcome.status, Status::Failed);
    QVERIFY2(message(outcome).startsWith(u"Cannot delete the temporary file \"%1\": "_s.arg(temporary)), qPrintable(message(outcome)));
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), cleanedNumberedLines(300));
}

void tst_ConversionRun::makesTemporaryFileWhereItCan_data()
{
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("made"); // where the file stands while the run goes on; empty: the run fails on it

    // Below a plain file no file can be made, whoever runs the test: as in a portable folder
    // on a read-only medium.
    const QString first = u"@/Tarnwick-00000001.tmp"_s;
    const QString refused = u"@/plain/Tarnwick-00000001.tmp"_s;
    const QString fallback = u"@/fallback/Tarnwick-00000001.tmp"_s;
    QTest::newRow("where it is asked") << first << fallback << first;
    QTest::newRow("refused there, in the fallback folder") << refused << fallback << fallback;
    QTest::newRow("refused, no fallback") << refused << QString() << QString();
    QTest::newRow("refused in both") << refused << u"@/plain/other/Tarnwick-00000001.tmp"_s << QString();
}

void tst_ConversionRun::makesTemporaryFileWhereItCan()
{
    QFETCH(QString, temporary);
    QFETCH(QString, fallback);
    QFETCH(QString, made);
    const auto here = [&](QString path) { return path.replace(u'@', dir_->path()); };
    writeFile(dir_->filePath(u"r1.log"_s), numberedLines(300));
    writeFile(dir_->filePath(u"plain"_s), "not a folder");
    QVERIFY(QDir(dir_->path()).mkdir(u"fallback"_s));
    Host host;
    QStringList seen;
    host.atStep = [&](int step) {
        if (step == 1) {
            for (const QString &path : {temporary, fallback})
                if (!path.isEmpty() && QFileInfo::exists(here(path)))
                    seen.append(path);
        }
    };
    const RunOutcome outcome = ConversionRun({dir_->filePath(u"r1.log"_s), dir_->filePath(u"r1.txt"_s), here(temporary), here(fallback)},
                                             CharacterRule::Utf8, host).run();
    if (made.isEmpty()) {
        QCOMPARE(outcome.status, Status::Failed);
        QCOMPARE(outcome.failure, RunOutcome::Failure::CreateTemporary);
        // The last place tried is named.
        QCOMPARE(outcome.file, here(fallback.isEmpty() ? temporary : fallback));
        QVERIFY(!QFile::exists(dir_->filePath(u"r1.txt"_s)));
    } else {
        QCOMPARE(outcome.status, Status::Completed);
        QCOMPARE(seen, QStringList{made});
        QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), cleanedNumberedLines(300));
    }
    QCOMPARE(files(), (QStringList{u"plain"_s, u"r1.log"_s} + (made.isEmpty() ? QStringList() : QStringList{u"r1.txt"_s})));
    QCOMPARE(QDir(dir_->filePath(u"fallback"_s)).entryList(QDir::Files), QStringList());
}

void tst_ConversionRun::scrollSettingTakesEffectFromNextLine()
{
    writeFile(dir_->filePath(u"r1.log"_s), times("abc\b\bX\n", 300));
    Host host;
    host.atStep = [&](int step) {
        if (step == 4) // after the first 100 lines of the cleaning pass
            host.scroll = true;
    };
    QCOMPARE(ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host).run().status, Status::Completed);
    QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), times("aX\r\n", 100) + times("aXc\r\n", 200));
}

void tst_ConversionRun::cleansRealCaptures_data()
{
    QTest::addColumn<QString>("capture");
    QTest::addColumn<bool>("scroll");
    for (const char *capture : {"iosxe-config-line-scroll-dollar", "iosxe-c9500-hbm-voq-thresholds", "iosxe-c9500x-rommon-spinner",
                                "fxos-fp4k-boot-countdown", "ios-show-vlan-more-pager", "nxos-connection-log-crcrlf"}) {
        QTest::addRow("%s", capture) << QString::fromLatin1(capture) << false;
        QTest::addRow("%s, scroll", capture) << QString::fromLatin1(capture) << true;
    }
}

void tst_ConversionRun::cleansRealCaptures()
{
    QFETCH(QString, capture);
    QFETCH(bool, scroll);
    const QString output = dir_->filePath(u"out.txt"_s);
    Host host;
    host.scroll = scroll;
    const RunOutcome outcome = ConversionRun({testData(capture + u".txt"_s), output, dir_->filePath(u"Tarnwick-1.tmp"_s)},
                                             CharacterRule::Utf8, host).run();
    QCOMPARE(outcome.status, Status::Completed);
    QCOMPARE(host.nonTextAsked, 0);
    QVERIFY(!outcome.erasersLost); // no false alarm of a plain-text log
    const QByteArray expected = readFile(testData(u"expected/"_s + capture + (scroll ? u".scroll.txt"_s : u".cleaned.txt"_s)));
    QCOMPARE(readFile(output), expected);
    bool erasersLost = true;
    QCOMPARE(streamed(testData(capture + u".txt"_s), scroll, 4093, &erasersLost), expected);
    QVERIFY(!erasersLost);
}

// A terminal program's plain-text log dropped the BackSpaces and CRs that erased the pager's
// prompts: the prompts are left as text before the next line's, and no BackSpace or ESC is left.
void tst_ConversionRun::tellsPlainTextLogs_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("told");
    const QByteArray padded = "R1#shpwow run\r\n<--- More --->              interface Gi0/1\r\n";
    const QByteArray glued = "sw1>show run\n--More--        interface Gi0/2\n";
    QTest::newRow("Tera Term's plain text") << padded << true;
    QTest::newRow("another pager's prompt glued") << glued << true;
    QTest::newRow("a BackSpace elsewhere") << QByteArray("a\b\n" + padded) << false;
    QTest::newRow("an escape elsewhere") << (glued + "\x1b[K\n") << false;
    // Erased by a carriage return the capture kept: no plain text.
    QTest::newRow("a carriage return elsewhere") << (glued + "100%\r 50%\n") << false;
    QTest::newRow("CR CR LF line ends are no carriage return") << QByteArray(glued).replace("\n", "\r\r\n") << true;
    QTest::newRow("no prompt left") << QByteArray("R1#show run\r\n") << false;
}

void tst_ConversionRun::tellsPlainTextLogs()
{
    QFETCH(QByteArray, source);
    QFETCH(bool, told);
    writeFile(dir_->filePath(u"r1.log"_s), source);
    Host host;
    const RunOutcome outcome = ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host).run();
    QCOMPARE(outcome.status, Status::Completed);
    QCOMPARE(outcome.erasersLost, told);
    bool erasersLost = !told;
    streamed(dir_->filePath(u"r1.log"_s), false, 4096, &erasersLost);
    QCOMPARE(erasersLost, told);
}

void tst_ConversionRun::asksBeforeConvertingNonText_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("answer");
    const QByteArray image = QByteArray("\x7f" "ELF\x02\x01\x01", 7) + QByteArray(9, '\0') + times("\x03\x00\x3e\x00", 64);
    QTest::newRow("an image, not converted") << image << true << false;
    QTest::newRow("an image, converted") << image << true << true;
    QTest::newRow("control bytes, no NUL") << times("\x01\x02x\n", 100) << true << false;
    QTest::newRow("NUL padding") << QByteArray("R1>show clock\r\0\0\0\0\n*10:00:00 JST\0\0\0\0\r\n", 36) << false << false;
    QTest::newRow("UTF-16") << QByteArray("\xff\xfe" "a\0b\0\n\0", 8) << false << false;
}

void tst_ConversionRun::asksBeforeConvertingNonText()
{
    QFETCH(QByteArray, source);
    QFETCH(bool, asked);
    QFETCH(bool, answer);
    writeFile(dir_->filePath(u"fw.log"_s), source);
    Host host;
    host.convertsNonText = answer;
    const RunOutcome outcome = ConversionRun(paths(u"fw.log"_s, u"fw.txt"_s), CharacterRule::Utf8, host, {.encoding = tarnwick::EncodingSetting::Auto}).run();
    QCOMPARE(host.nonTextAsked, asked ? 1 : 0);
    QCOMPARE(outcome.status, !asked || answer ? Status::Completed : Status::Aborted);
    QCOMPARE(outcome.notText, asked && answer);
    QCOMPARE(QFile::exists(dir_->filePath(u"fw.txt"_s)), !asked || answer);
}

void tst_ConversionRun::masksSecretsAsTheLinesFinallyRead_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("scroll");
    QTest::addColumn<QStringList>("userShapes");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<quint64>("count");

    const auto utf16 = [](const QString &text) {
        QByteArray bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return bytes;
    };
    // Scrolled sideways by 11 columns at the 26th character.
    const QByteArray scrolled = "R#snmp-server community Scr" + times("\b", 25) + "$ community Scro" + times(" ", 9) + times("\b", 9) + "llC RO";
    QTest::newRow("typed with BackSpaces") << QByteArray("R1(config)#enable secret cisk\b\bsco\n") << false << QStringList()
                                           << QByteArray("R1(config)#enable secret <secret-1>\r\n") << quint64(1);
    QTest::newRow("rebuilt from a sideways scroll") << scrolled + "\n" << true << QStringList() << QByteArray("R#snmp-server community <secret-1> RO\r\n")
                                                    << quint64(1);
    QTest::newRow("after a timestamp") << QByteArray("[2026-12-07 10:00:00.123] snmp-server community Pub1 RO\n") << false << QStringList()
                                       << QByteArray("[2026-12-07 10:00:00.123] snmp-server community <secret-1> RO\r\n") << quint64(1);
    QTest::newRow("after RLogin's timestamp") << QByteArray("10:00:00 snmp-server community Pub1 RO\n") << false << QStringList()
                                              << QByteArray("10:00:00 snmp-server community <secret-1> RO\r\n") << quint64(1);
    // The same value twice, in the one pass that writes the output: one number, two masked.
    QTest::newRow("same value twice") << QByteArray("snmp-server community C1 RO\nsnmp-server host 192.0.2.1 version 2c C1\n") << false << QStringList()
                                      << QByteArray("snmp-server community <secret-1> RO\r\nsnmp-server host 192.0.2.1 version 2c <secret-1>\r\n")
                                      << quint64(2);
    // ゾ's trail byte is ']': the prompt ends at the ']' after it.
    QTest::newRow("Shift-JIS prompt") << QByteArray("[\x83\x5D]local-user admin password simple Pw1\n") << false << QStringList()
                                      << QByteArray("[\x83\x5D]local-user admin password simple <secret-1>\r\n") << quint64(1);
    QTest::newRow("Shift-JIS user shape") << QByteArray("\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68 \x94\xE9\x96\xA7\n") << false
                                          << QStringList{u"パスワード {}"_s} << QByteArray("\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68 <secret-1>\r\n")
                                          << quint64(1);
    QTest::newRow("UTF-16") << utf16(u"snmp-server community 公開 RO\n"_s) << false << QStringList()
                            << utf16(u"snmp-server community <secret-1> RO\r\n"_s) << quint64(1);
    QTest::newRow("user shapes") << QByteArray("set wifi-key W1f1 now\nserial 7 key=K3y;\nsnmp-server location R1\n") << false
                                 << QStringList{u"set wifi-key {}"_s, u"* key={};"_s, u"*-server loc* *"_s}
                                 << QByteArray("set wifi-key <secret-1> now\r\nserial 7 key=<secret-2>;\r\nsnmp-server location R1\r\n") << quint64(2);
    QTest::newRow("none") << QByteArray("show version\n") << false << QStringList() << QByteArray("show version\r\n") << quint64(0);
}

void tst_ConversionRun::masksSecretsAsTheLinesFinallyRead()
{
    QFETCH(QByteArray, source);
    QFETCH(bool, scroll);
    QFETCH(QStringList, userShapes);
    QFETCH(QByteArray, output);
    QFETCH(quint64, count);
    writeFile(dir_->filePath(u"r1.log"_s), source);
    for (const std::size_t bufferSize : {std::size_t(3), TextInput::defaultBufferSize}) {
        const RunOptions options{.masking = true, .secretShapes = userShapes, .encoding = tarnwick::EncodingSetting::Auto, .bufferSize = bufferSize};
        Host host;
        host.scroll = scroll;
        const RunOutcome outcome = ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host, options).run();
        QCOMPARE(outcome.status, Status::Completed);
        QCOMPARE(readFile(dir_->filePath(u"r1.txt"_s)), output);
        QCOMPARE(outcome.secretsMasked, std::optional<std::uint64_t>(count));
        // Each log given to the pipe is numbered anew.
        tarnwick::StreamConversion conversion(CharacterRule::Utf8, scroll, options);
        for (int log = 0; log < 2; ++log) {
            QFile input(dir_->filePath(u"r1.log"_s));
            QTemporaryFile piped;
            QVERIFY(input.open(QIODevice::ReadOnly) && piped.open());
            QCOMPARE(conversion.run(input, {}, piped, {}).secretsMasked, std::optional<std::uint64_t>(count));
            QVERIFY(piped.seek(0));
            QCOMPARE(piped.readAll(), output);
        }
    }
    // Off, nothing is masked and nothing is counted.
    Host host;
    host.scroll = scroll;
    QCOMPARE(ConversionRun(paths(u"r1.log"_s, u"r1.txt"_s), CharacterRule::Utf8, host, {.encoding = tarnwick::EncodingSetting::Auto}).run().secretsMasked,
             std::nullopt);
}

QTEST_GUILESS_MAIN(tst_ConversionRun)
#include "tst_conversionrun.moc"
