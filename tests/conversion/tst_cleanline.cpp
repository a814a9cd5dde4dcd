#include "CleanOneLine.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using tarnwick::CharacterRule;
using testsupport::times;

Q_DECLARE_METATYPE(CharacterRule)

namespace {
const QByteArray prompt = "<--- More --->";
const QByteArray eraser = times(" ", 14);
const QByteArray bs = "\b";
} // namespace

class tst_CleanLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleansOneLine_data();
    void cleansOneLine();
    void removesWholeCharacters_data();
    void removesWholeCharacters();
    void keepsTimestamps_data();
    void keepsTimestamps();
};

void tst_CleanLine::cleansOneLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written"); // with its CR LF; empty when the line is dropped

    QTest::newRow("typo erased") << QByteArray("shpw\b\bow ip route") << QByteArray("show ip route\r\n");
    QTest::newRow("all of a command erased") << ("conf t" + times(bs, 6) + "show run") << QByteArray("show run\r\n");
    QTest::newRow("backspaces at the start") << QByteArray("\b\babc") << QByteArray("abc\r\n");
    QTest::newRow("more backspaces than characters") << QByteArray("ab\b\b\bc") << QByteArray("c\r\n");
    QTest::newRow("only backspaces") << QByteArray("\b\b\b") << QByteArray("\r\n");
    QTest::newRow("everything erased") << ("abc" + times(bs, 5)) << QByteArray("\r\n");
    QTest::newRow("pager erase with backspaces")
        << (prompt + times(bs, 14) + eraser + times(bs, 14) + "interface Gi0/1") << QByteArray("interface Gi0/1\r\n");
    QTest::newRow("pager prompt erased") << (prompt + times(bs, 14)) << QByteArray("\r\n");
    QTest::newRow("padded prompt then text") << (prompt + eraser + "interface Gi0/1") << QByteArray("interface Gi0/1\r\n");
    QTest::newRow("padded prompt alone") << (prompt + eraser) << QByteArray("\r\n");
    QTest::newRow("prompt and 15 blanks") << (prompt + times(" ", 15) + "show") << QByteArray(" show\r\n");
    QTest::newRow("prompt alone") << prompt << QByteArray();
    QTest::newRow("prompt, 3 blanks, text") << (prompt + "   xyz") << QByteArray();
    QTest::newRow("prompt, 13 blanks, text") << (prompt + times(" ", 13) + "text") << QByteArray();
    QTest::newRow("exactly 14 blanks") << eraser << QByteArray();
    QTest::newRow("13 blanks") << times(" ", 13) << (times(" ", 13) + "\r\n");
    QTest::newRow("15 blanks") << times(" ", 15) << (times(" ", 15) + "\r\n");
    QTest::newRow("prompt not at the start") << ("  " + prompt) << ("  " + prompt + "\r\n");
    QTest::newRow("prompt in other letter case") << QByteArray("<--- more --->") << QByteArray("<--- more --->\r\n");
    QTest::newRow("padded prompt then prompt") << (prompt + eraser + prompt) << (prompt + "\r\n");
    QTest::newRow("prompt tests after the backspaces") << ("x\b" + prompt) << QByteArray();
    // Another pager's prompt erased by CR, blanks as wide as it and CR: the CRs are gone.
    QTest::newRow("erased prompt glued to the next line") << QByteArray("--More--        interface Gi0/2") << QByteArray("interface Gi0/2\r\n");
    QTest::newRow("Yamaha's prompt glued, UTF-8") << QByteArray("---\xE3\x81\xA4\xE3\x81\xA5\xE3\x81\x8F---" + times(" ", 12) + "ip route")
                                                  << QByteArray("ip route\r\n");
    QTest::newRow("fewer blanks than it is wide: kept") << QByteArray("--More--    x") << QByteArray("--More--    x\r\n");
    QTest::newRow("PuTTY's header") << QByteArray("=~=~=~=~=~=~=~=~=~=~=~= PuTTY log 2026.12.09 10:00:00 =~=~=~=~=~=~=~=~=~=~=~=")
                                    << QByteArray("=~=~=~=~=~=~=~=~=~=~=~= PuTTY log 2026.12.09 10:00:00 =~=~=~=~=~=~=~=~=~=~=~=\r\n");
    QTest::newRow("plain line") << QByteArray("Router#show version") << QByteArray("Router#show version\r\n");
    QTest::newRow("empty line") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("NUL and invalid bytes kept") << QByteArray("a\0\xFF\xC0z", 5) << QByteArray("a\0\xFF\xC0z\r\n", 7);
    QTest::newRow("scroll marker left as it is") << QByteArray("R#$abc") << QByteArray("R#$abc\r\n");
    // A terminal program's timestamp is kept; the line after it is cleaned as a line of its own.
    const QByteArray stamp = "[2026-12-07 10:00:00.123] ";
    QTest::newRow("timestamp, BackSpaces reach into it") << (stamp + "ab" + times(bs, 5) + "cd") << (stamp + "cd\r\n");
    QTest::newRow("timestamp, pager prompt dropped") << (stamp + prompt) << QByteArray();
    QTest::newRow("timestamp, padded prompt") << ("[Mon Dec 07 10:00:00.123 2026] " + prompt + eraser + "interface Gi0/1")
                                              << QByteArray("[Mon Dec 07 10:00:00.123 2026] interface Gi0/1\r\n");
    QTest::newRow("timestamp, day padded, eraser dropped") << ("[Mon Dec  7 10:00:00.123 2026] " + eraser) << QByteArray();
    QTest::newRow("elapsed time") << QByteArray("[12 00:01:23.456] shpw\b\bow run") << QByteArray("[12 00:01:23.456] show run\r\n");
    QTest::newRow("no milliseconds: no timestamp") << QByteArray("[2026-12-07 10:00:00] ab\b\b\b\b") << QByteArray("[2026-12-07 10:00:00\r\n");
    QTest::newRow("no such weekday: no timestamp") << ("[Mon Foo 07 10:00:00.123 2026] " + prompt) << ("[Mon Foo 07 10:00:00.123 2026] " + prompt + "\r\n");
    QTest::newRow("no blank after it: no timestamp") << QByteArray("[0 00:00:01.000]x\b\b") << QByteArray("[0 00:00:01.000\r\n");
}

void tst_CleanLine::cleansOneLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    QCOMPARE(cleanOneLine(line, false), written);
}

void tst_CleanLine::removesWholeCharacters_data()
{
    QTest::addColumn<CharacterRule>("rule");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written");

    const auto utf8 = CharacterRule::Utf8;
    QTest::newRow("utf8 three-byte character") << utf8 << QByteArray("a\xE3\x81\x82\bb") << QByteArray("ab\r\n");
    QTest::newRow("utf8 four-byte character") << utf8 << QByteArray("\xF0\x9F\x98\x80\b!") << QByteArray("!\r\n");
    QTest::newRow("utf8 two characters, two backspaces") << utf8 << QByteArray("x\xC3\xA9\xE3\x81\x82\b\b") << QByteArray("x\r\n");
    QTest::newRow("utf8 BackSpaces between characters") << utf8 << QByteArray("a\xC3\xA9\b\xE3\x81\x82" "b\b\bc") << QByteArray("ac\r\n");
    QTest::newRow("utf8 broken sequence loses one byte") << utf8 << QByteArray("\xE3\x81\b") << QByteArray("\xE3\r\n");
    QTest::newRow("utf8 Shift-JIS bytes are single characters") << utf8 << QByteArray("\x82\xA0\b") << QByteArray("\x82\r\n");

    const auto sjis = CharacterRule::ShiftJis;
    QTest::newRow("sjis double-byte character") << sjis << QByteArray("a\x82\xA0\bb") << QByteArray("ab\r\n");
    QTest::newRow("sjis BackSpaces between characters") << sjis << QByteArray("\x82\xA0x\b\b\x82\xA2\b\x95\x5C") << QByteArray("\x95\x5C\r\n");
    QTest::newRow("sjis trail byte 0x5C") << sjis << QByteArray("\x95\x5C\b") << QByteArray("\r\n");
    QTest::newRow("sjis lead byte alone") << sjis << QByteArray("a\x82\b") << QByteArray("a\r\n");
    QTest::newRow("sjis half-width katakana") << sjis << QByteArray("\xB1\xB2\b") << QByteArray("\xB1\r\n");
    QTest::newRow("sjis Yamaha's prompt glued") << sjis << QByteArray("---\x82\xC2\x82\xC3\x82\xAD---" + times(" ", 12) + "ip route")
                                               << QByteArray("ip route\r\n");
    QTest::newRow("sjis UTF-8 bytes are pairs or singles") << sjis << QByteArray("\xE3\x81\x82\b") << QByteArray("\xE3\x81\r\n");
}

void tst_CleanLine::removesWholeCharacters()
{
    QFETCH(CharacterRule, rule);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    QCOMPARE(cleanOneLine(line, false, rule), written);
}

QTEST_GUILESS_MAIN(tst_CleanLine)
#include "tst_cleanline.moc"

void tst_CleanLine::keepsTimestamps_data()
{
    QTest::addColumn<QStringList>("forms"); // the user's
    QTest::addColumn<bool>("controls");
    QTest::addColumn<CharacterRule>("rule");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written"); // empty when the line is dropped

    const auto utf8 = CharacterRule::Utf8;
    const QStringList none;
    QTest::newRow("Tera Term's, BackSpaces reach into it") << none << false << utf8 << ("[2026-12-07 10:00:00.123] ab" + times(bs, 6) + "cd")
                                                           << QByteArray("[2026-12-07 10:00:00.123] cd");
    QTest::newRow("RLogin's, BackSpaces reach into it") << none << false << utf8 << ("10:00:00 ab" + times(bs, 4) + "show run")
                                                        << QByteArray("10:00:00 show run");
    QTest::newRow("RLogin's, a CR goes back to its end") << none << true << utf8 << QByteArray("10:00:00 abc\rxy") << QByteArray("10:00:00 xyc");
    QTest::newRow("RLogin's without its blank") << none << false << utf8 << ("10:00:00x" + times(bs, 2)) << QByteArray("10:00:0");
    const QStringList slashes{u"[%Y/%m/%d %H:%M:%S] "_s};
    QTest::newRow("user's, BackSpaces reach into it") << slashes << false << utf8 << ("[2026/12/07 10:00:00] ab" + times(bs, 6) + "cd")
                                                      << QByteArray("[2026/12/07 10:00:00] cd");
    QTest::newRow("user's, not quite") << slashes << false << utf8 << ("[2026/12/07 10:00] ab" + times(bs, 4)) << QByteArray("[2026/12/07 10:00");
    QTest::newRow("user's with %N, pager prompt dropped with it") << QStringList{u"%F %T.%N | "_s} << false << utf8
                                                                 << ("2026-12-07 10:00:00.123 | " + prompt) << QByteArray();
    QTest::newRow("user's with %a %b %e, CR and erasure after it")
        << QStringList{u"<%a %b %e %H:%M:%S %Y> "_s} << true << utf8 << QByteArray("<Mon Dec  7 10:00:00 2026> abc\r\x1b[Kshow")
        << QByteArray("<Mon Dec  7 10:00:00 2026> show");
    QTest::newRow("user's with text, in Shift-JIS") << QStringList{u"%Y年%m月%d日 %H時%M分 "_s} << false << CharacterRule::ShiftJis
                                                    << ("2026\x94\x4E" "12\x8C\x8E" "07\x93\xFA 10\x8E\x9E" "00\x95\xAA ab" + times(bs, 3) + "x")
                                                    << QByteArray("2026\x94\x4E" "12\x8C\x8E" "07\x93\xFA 10\x8E\x9E" "00\x95\xAA x");
}

// Each line after a plain one longer than the fast copy's step, so that it is found at a line start
// within the text.
void tst_CleanLine::keepsTimestamps()
{
    QFETCH(QStringList, forms);
    QFETCH(bool, controls);
    QFETCH(CharacterRule, rule);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    const QByteArray plain = "Router#show interfaces status | include connected or notconnect or disabled";
    const QByteArray expected = plain + "\r\n" + (written.isEmpty() ? QByteArray() : written + "\r\n") + plain + "\r\n";
    QCOMPARE(cleanText(plain + '\n' + line + '\n' + plain + '\n', controls, forms, rule), expected);
}
