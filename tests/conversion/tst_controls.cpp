#include "CleanOneLine.h"
#include "TestSupport.h"
#include "conversion/ConversionRun.h"
#include "conversion/LineCleaner.h"
#include "conversion/LineEndNormaliser.h"
#include "conversion/PagerFilter.h"
#include "conversion/StreamConversion.h"

#include <QRandomGenerator>
#include <QtTest>

#include <limits>

using tarnwick::CharacterRule;
using testsupport::times;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CharacterRule)

namespace {

// The user's pager prompts the cleaning is given.
const QStringList userPrompts{u"Hit * key"_s, u"[Page *]"_s, u"  続行するには*"_s, u"<*aab**b>"_s, u"{*]]*}"_s};

// Source text (its lines ended by LF, the last one too) as the run cleans it with terminal
// controls read: the lines written, each with CR LF; nothing for a line dropped.
QByteArray cleanControlled(const QByteArray &text, bool scrollOn, CharacterRule rule = CharacterRule::Utf8)
{
    // Whole and in pieces that end anywhere, inside sequences and between a CR and what follows.
    const std::string source = (text + '\n').toStdString();
    std::string normalised;
    for (const std::size_t piece : {source.size(), std::size_t(1), std::size_t(2), std::size_t(3)}) {
        std::string inPieces;
        tarnwick::LineEndNormaliser normaliser(true);
        for (std::size_t at = 0; at < source.size(); at += piece)
            normaliser.append(std::string_view(source).substr(at, piece), inPieces);
        normaliser.finish();
        if (piece != source.size() && inPieces != normalised)
            return "<normalised otherwise in pieces>";
        normalised = inPieces;
    }
    // A CR outside the line end only where a sequence may be open, which the cleaning reads.
    for (std::size_t cr = normalised.find('\r'); cr != std::string::npos; cr = normalised.find('\r', cr + 1)) {
        if (normalised[cr + 1] != '\n' && normalised.rfind('\x1b', cr) + 1 <= normalised.rfind('\n', cr) + 1)
            return "<a CR outside the line end>";
    }
    CollectedOutput output;
    tarnwick::LineStage stage(rule, rule, true, userPrompts, output);
    std::uint64_t lines = 0;
    stage.take(normalised, std::numeric_limits<std::uint64_t>::max(), lines, [&] { return scrollOn; });
    stage.finish(scrollOn, lines);
    return output.bytes;
}

const QByteArray esc = "\x1b";

class NoHost : public tarnwick::RunHost {
public:
    bool scroll = false;
    void showProgress(const QString &) override {}
    void processEvents() override {}
    bool scrollOn() const override { return scroll; }
};

} // namespace

class tst_Controls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleansLikeATerminal_data();
    void cleansLikeATerminal();
    void keepsCharactersAroundSequences_data();
    void keepsCharactersAroundSequences();
    void cleansRealCaptures_data();
    void cleansRealCaptures();
    void leavesNoControlInRandomLines();
    void fastPathPassesOnlyUntouchedLines();
    void boundsHostileLines_data();
    void boundsHostileLines();
};

void tst_Controls::cleansLikeATerminal_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("scrollOff"); // written, with CR LF; empty when dropped
    QTest::addColumn<QByteArray>("scrollOn");

    const auto same = [](const char *name, const QByteArray &line, const QByteArray &written) {
        QTest::newRow(name) << line << written << written;
    };
    // The examples of the setting.
    same("colours", esc + "[0;32m[user@host:~] >" + esc + "[m", "[user@host:~] >\r\n");
    same("--More-- erased with CR", "--More-- \r" + times(" ", 9) + "\rBIOS version: 06000104", "BIOS version: 06000104\r\n");
    same("---- More ---- erased with CUB", "  ---- More ----" + esc + "[16D" + times(" ", 16) + esc + "[16D100GE1/0/55    97",
         "100GE1/0/55    97\r\n");
    same("---(more 83%)--- erased with CR", "---(more 83%)---\r" + times(" ", 40) + "\r5678", "5678\r\n");
    same("carriage return overwrites", "abc\rxy", "xyc\r\n");
    same("progress redrawn", "10%\r20%\r30%", "30%\r\n");
    same("cursor to a row", "telnet prompt>" + esc + "[24;1H", "telnet prompt>\r\n");
    same("CUB as BackSpace", "R#shp" + esc + "[D " + esc + "[Dow", "R#show\r\n");
    same("CUB then EL", "abc" + esc + "[2D" + esc + "[K", "a\r\n");
    QTest::newRow("CUB then DCH") << ("abcdef" + esc + "[3D" + esc + "[1PX") << QByteArray("abcX\r\n") << QByteArray("abcXf\r\n");
    QTest::newRow("BackSpaces unchanged") << QByteArray("ab\b\b\bc") << QByteArray("c\r\n") << QByteArray("cb\r\n");
    same("pager left on the screen", " --More-- ", "");
    same("trailing blanks", "text" + times(" ", 9), "text\r\n");
    same("CSI broken by a multi-byte character", esc + "[\xC3\xA9", "\xC3\xA9\r\n");
    // As tmux shows them: after an ESC a character shows nothing and the escape goes on (the
    // next byte ends it); a C1 control written in UTF-8 shows nothing, with no other control
    // on its line too.
    same("ESC then a character", "ab" + esc + "\xC3\xA9xy", "aby\r\n");
    same("ESC then a byte above ASCII", "ab" + esc + "\xFFxy", "aby\r\n");
    same("C1 control in UTF-8", "ab\xC2\x9B" "cd \xC2\x85" "ef", "abcd ef\r\n");
    same("no C1 control", "\xC2\xA9 2026", "\xC2\xA9 2026\r\n");
    same("cursor saved and restored", "abcdef" + esc + "7\rXY" + esc + "8Z", "XYcdefZ\r\n");
    same("cursor saved and restored by CSI", "abcdef" + esc + "[s\rXY" + esc + "[uZ", "XYcdefZ\r\n");
    same("CBT", "abcdefghijk" + esc + "[ZX", "abcdefghXjk\r\n");
    same("CBT twice", "abcdefghijklmnopqrs" + esc + "[2ZX", "abcdefghXjklmnopqrs\r\n");
    same("CBT from a tab stop", "abcdefgh" + esc + "[ZX", "Xbcdefgh\r\n");
    // As ECMA-48 has it (tmux does not read CHT).
    same("CHT", "ab" + esc + "[IX", "ab      X\r\n");
    same("CHT twice", "ab" + esc + "[2IX", "ab              X\r\n");
    same("REP", "#" + esc + "[b", "##\r\n");
    same("REP with a count", "ab" + esc + "[3bc", "abbbbc\r\n");
    same("REP after another sequence", "a" + esc + "[1m" + esc + "[2b", "a\r\n");
    same("REP after a move", "ab" + esc + "[G" + esc + "[2b", "ab\r\n");
    same("insert mode", "abcdef\r" + esc + "[4hXY", "XYabcdef\r\n");
    same("insert mode ended", "abcdef\r" + esc + "[4hXY" + esc + "[4lZ", "XYZbcdef\r\n");
    same("cursor restored, none saved", "ab" + esc + "8Z", "Zb\r\n");
    // Each move and erasure.
    same("CUF pads", "ab" + esc + "[3Cc", "ab   c\r\n");
    same("CUF inside the line", "abcd\r" + esc + "[2CX", "abXd\r\n");
    same("HPR as CUF", "abcd\r" + esc + "[2aX", "abXd\r\n");
    same("CHA", "abcd" + esc + "[2GX", "aXcd\r\n");
    same("CHA without a parameter", "abcd" + esc + "[GX", "Xbcd\r\n");
    same("HPA", "abcd" + esc + "[3`X", "abXd\r\n");
    same("CUP", "abcd" + esc + "[2;3HX", "abcd\r\n  X\r\n");
    same("CUP on the same row", "abcd" + esc + "[1;2HX", "aXcd\r\n");
    same("HVP column", "abcd" + esc + "[1;4fX", "abcX\r\n");
    same("CHA beyond the end pads", "ab" + esc + "[6GX", "ab   X\r\n");
    same("EL 1 blanks through the cursor", "abcdef" + esc + "[3G" + esc + "[1K", "   def\r\n");
    same("EL 2 blanks the line", "abc" + esc + "[2KX", "   X\r\n");
    same("ED 0 erases to the end", "abcdef\r" + esc + "[2C" + esc + "[J", "ab\r\n");
    same("ECH", "abcdef\r" + esc + "[1C" + esc + "[2X", "a  def\r\n");
    same("ICH", "abcd\r" + esc + "[1C" + esc + "[2@X", "aX bcd\r\n");
    same("DCH inside", "abcdef\r" + esc + "[1C" + esc + "[2P", "adef\r\n");
    // The screen: the moves from row to row, as tmux shows them. The capture's first line is the
    // screen's top row.
    same("CUU", "abc\ndef" + esc + "[AX", "abcX\r\ndef\r\n");
    same("CUD", "abc" + esc + "[BX", "abc\r\n   X\r\n");
    same("CNL", "abc" + esc + "[2EX", "abc\r\n\r\nX\r\n");
    same("CPL", "abc\ndef" + esc + "[FX", "Xbc\r\ndef\r\n");
    same("HVP", "ab\ncd" + esc + "[1;2fX", "aX\r\ncd\r\n");
    same("VPA", "abc\ndef" + esc + "[1dX", "abcX\r\ndef\r\n");
    same("IND", "abc" + esc + "DX", "abc\r\n   X\r\n");
    same("NEL", "abc" + esc + "EX", "abc\r\nX\r\n");
    same("RI", "abc\ndef" + esc + "MX", "abcX\r\ndef\r\n");
    same("RI at the top", "abc" + esc + "MX", "   X\r\nabc\r\n");
    same("IL", "abc\ndef" + esc + "[A" + esc + "[LX", "   X\r\nabc\r\ndef\r\n");
    same("DL", "abc\ndef" + esc + "[A" + esc + "[MX", "defX\r\n");
    same("SU", "abc\ndef" + esc + "[SX", "abc\r\ndef\r\n   X\r\n");
    same("SD", "abc\ndef" + esc + "[TX", "\r\nabcX\r\ndef\r\n");
    same("moves beyond the screen stop at its edges", "abc" + esc + "[99A" + esc + "[GX" + esc + "[99;99H" + esc + "[99BY",
         "Xbc\r\n" + times("\r\n", 22) + times(" ", 98) + "Y\r\n");
    // A clear writes out what the screen showed; the cursor stays where it was.
    same("ED 2", "abc\ndef" + esc + "[2JX", "abc\r\ndef\r\n\r\n   X\r\n");
    same("ED from the home position", "abc\ndef" + esc + "[H" + esc + "[JX", "abc\r\ndef\r\nX\r\n");
    same("ED 0 blanks the rows below", "abc\ndef" + esc + "[A" + esc + "[2G" + esc + "[J", "a\r\n");
    same("ED 1 blanks the rows above", "abc" + esc + "[B" + esc + "[Gdef" + esc + "[2G" + esc + "[1J", "\r\n  f\r\n");
    same("ED 3 leaves the screen", "abc" + esc + "[3JX", "abcX\r\n");
    same("cursor restored on the screen, none saved", "abc\ndef" + esc + "[B" + esc + "8X", "Xbc\r\ndef\r\n");
    same("a BIOS screen", esc + "[2J" + esc + "[01;01HBios Version" + esc + "[02;01HPlatform ID", "Bios Version\r\nPlatform ID\r\n");
    same("rows skipped are empty", "a\n" + esc + "[4;1Hb", "a\r\n\r\n\r\nb\r\n");
    same("a status line from below", "Starting foo...\n" + esc + "[A\n" + esc + "[70C[  OK  ]",
         "Starting foo...\r\n" + times(" ", 70) + "[  OK  ]\r\n");
    same("a status line finished above", " * Stopping foo\n" + esc + "[A" + esc + "[1G *" + esc + "[74G[fail]",
         " * Stopping foo" + times(" ", 58) + "[fail]\r\n");
    // 25 rows: the top one scrolls off and stays as it was written.
    same("a row scrolled off", esc + "[Htop" + times("\nx", 24) + esc + "[24A" + esc + "[GY", "top\r\nY\r\n" + times("x\r\n", 23));
    // Lines without a move stay on the screen's rows, where a later move finds them.
    same("up over plain lines", "a\nb\nc\n" + esc + "[2AX", "a\r\nX\r\nc\r\n");
    same("up three from a line's end", "a\nb\nc\nd" + esc + "[3AX", "aX\r\nb\r\nc\r\nd\r\n");
    same("up beyond the screen over plain lines", "top" + times("\nx", 29) + esc + "[99A" + esc + "[GY",
         "top\r\n" + times("x\r\n", 5) + "Y\r\n" + times("x\r\n", 23));
    same("a screen of lines without a move keeps its rows", "a" + esc + "[Bb" + times("\nx", 24) + "\n" + esc + "[99AY",
         "a\r\n b\r\nx\r\nY\r\n" + times("x\r\n", 22));
    same("a timestamp stays with its row", "[0 00:00:01.000] abc\n[0 00:00:02.000] " + esc + "[AX", "[0 00:00:01.000] Xbc\r\n");
    same("a pager prompt's row dropped", "--More--" + esc + "[Bx", "        x\r\n");
    same("private parameters do nothing", "abc" + esc + "[?3D" + esc + "[>1K", "abc\r\n");
    same("modes and keypad", esc + "[?2004h" + esc + "=" + esc + "(Bls" + esc + ">" + esc + "[?1l", "ls\r\n");
    same("OSC ended by BEL", esc + "]0;title\x07R1#", "R1#\r\n");
    same("OSC ended by ST", esc + "]2;title" + esc + "\\R1#", "R1#\r\n");
    same("OSC without its end", "R1#" + esc + "]0;title", "R1#\r\n");
    same("DCS and APC", esc + "Pq#0" + esc + "\\a" + esc + "_x" + esc + "\\b", "ab\r\n");
    same("ESC at the end", "abc" + esc, "abc\r\n");
    same("CSI broken by ESC", esc + "[1" + esc + "[Kx", "x\r\n");
    same("NUL, BEL, SI, SO and DEL dropped", QByteArray("a\0b\x07" "c\x0e" "d\x0f" "e\x7f", 10), "abcde\r\n");
    same("8-bit controls kept", "a\x9b" "1D\x85", "a\x9b" "1D\x85\r\n");
    same("a CR before the LF ends the line", "abc\r\r", "abc\r\n");
    // Malformed sequences, read as a terminal's parser reads them.
    QTest::newRow("BackSpace inside a CSI acts, the CSI goes on") << ("abcd" + esc + "[2\bD") << QByteArray("a\r\n") << QByteArray("abcd\r\n");
    same("ESC inside an OSC ends it", esc + "]0;title" + esc + "[0m hello", " hello\r\n");
    same("a sub-parameter makes a CSI do nothing", "abc" + esc + "[1:2D", "abc\r\n");
    same("a private marker after the first character", "abc" + esc + "[1?2D", "abc\r\n");
    same("CAN ends a CSI and is dropped", "ab" + esc + "[1\x18" "D", "abD\r\n");
    same("SUB and CAN dropped", "a\x18" "b\x1a" "c", "abc\r\n");
    same("an escape with an intermediate", "a" + esc + "(Bb" + esc + " [c", "abc\r\n");
    same("CR inside a CSI acts, the CSI goes on", "abc" + esc + "[3\rCdef", "abcdef\r\n");
    same("CR inside an escape acts, the escape goes on", "abc" + esc + "\rxdef", "def\r\n");
    same("CR inside a CSI, then an ESC", "abcdef" + esc + "[2\r" + esc + "[C" + esc + "[K", "a\r\n");
    same("CR inside an OSC is part of it", "abc" + esc + "]0;ti\rtle\x07" "de", "abcde\r\n");
    same("CRs after a sequence", esc + "[mabc\rd\r\r\rx", "xbc\r\n");
    same("BEL inside a DCS is part of it", esc + "Pq\x07x" + esc + "\\y", "y\r\n");
    same("DEL inside a CSI ignored", "abc" + esc + "[\x7f" "1D" + esc + "[K", "ab\r\n");
    same("a tab is a character", "a\tb", "a\tb\r\n");
    // A tab moves to the next stop of every 8 columns; it is kept where its span shows nothing else.
    same("a tab kept", "a\tb" + esc + "[K\tc", "a\tb\tc\r\n");
    same("a BackSpace after a tab", "\t\b$" + esc + "[K", "       $\r\n");
    same("a BackSpace after a tab, no other control", "ab\t\bX", "ab     X\r\n");
    same("a tab partly erased", "ab\tcd" + esc + "[3D" + esc + "[KX", "ab     X\r\n");
    same("a tab over text written", "abcdefghij\r\tX" + esc + "[m", "abcdefghXj\r\n");
    same("a tab over a character written beyond", esc + "[4Cq\rab\tc", "ab  q   c\r\n");
    // DEC line drawing, written as the characters a terminal shows; it ends with its line.
    same("line drawing", esc + "(0lqqk" + esc + "(B ok", "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x80\xE2\x94\x90 ok\r\n");
    same("line drawing in G1, shifted in and out", esc + ")0a\x0eqx\x0fqx", "a\xE2\x94\x80\xE2\x94\x82qx\r\n");
    same("line drawing ends with its line", esc + "(0qq\nqq" + esc + "[m", "\xE2\x94\x80\xE2\x94\x80\r\nqq\r\n");
    same("line drawing designated across a CR", "abc" + esc + "(\r0qq" + esc + "(Bx", "\xE2\x94\x80\xE2\x94\x80x\r\n");
    same("a tab inside a CSI acts", "ab" + esc + "[\t2DX", "ab    X\r\n");
    const QByteArray xr = "RP/0/RSP0/CPU0:r1(config)#no snmp-server traps ospf state-change if-state-chan";
    QTest::newRow("IOS-XR's scroll and repaint")
        << (xr + "g" + times("\b", 53) + "$ate-change if-state-change" + times(" ", 26) + times("\b", 53) + xr.mid(26) + "$\b\b\b\b\r")
        << (xr.chopped(3) + "\r\n") << (xr + "ge\r\n"); // BackSpaces at the end erase
    same("a second marker from the prompt, as the screen showed it",
         "R#abcdefghijkl" + esc + "[12D$lm" + times(" ", 9) + esc + "[9Dno" + esc + "[5D$no" + times(" ", 9) + esc + "[9Dp", "R#$nop\r\n");
    // Other vendors' pagers.
    for (const char *prompt : {"--More--", "-- More --", "---- More ----", "---(more)---", "---(more 7%)---", "---(more 100%)---",
                               "-- MORE --, next page: Space, next line: Enter, quit: Control-C", "lines 1-20", "lines 120-143",
                               "Press any key to continue (Q to quit)", "--More-- or (q)uit", "---- More ( Press 'Q' to break ) ----",
                               "Press any key to continue..", "-- [Q quit|D dump|right|up|down]"})
        same(prompt, "  "_ba + prompt + "   ", "");
    // The user's prompts.
    same("a user's prompt", "  Hit any key ", "");
    same("a user's prompt, * for nothing", "Hit  key", "");
    same("a user's prompt, * for blanks and brackets", "[Page   [2] ]", "");
    same("a user's prompt in UTF-8", "\xE7\xB6\x9A\xE8\xA1\x8C\xE3\x81\x99\xE3\x82\x8B\xE3\x81\xAB\xE3\x81\xAF . . .", "");
    same("a user's prompt and more is text", "Hit any key twice", "Hit any key twice\r\n");
    same("a user's prompt, a piece after a false start of itself", "<aaabb>", "");
    same("a user's prompt, a piece only over the last", "<aaab>", "<aaab>\r\n");
    same("---(more 1000%)--- is text", "---(more 1000%)---", "---(more 1000%)---\r\n");
    // A timestamp is kept; carriage returns and moves act on the line after it.
    const QByteArray stamp = "[2026-12-07 10:00:00.123] ";
    same("timestamp, pager erased with CR", stamp + " --More-- \r" + times(" ", 10) + "\rinterface Gi0/1", stamp + "interface Gi0/1\r\n");
    QTest::newRow("timestamp, CUB stops at its end") << (stamp + "abc" + esc + "[40Dx") << (stamp + "x\r\n") << (stamp + "xbc\r\n");
    same("timestamp, CHA counts after it", stamp + "abc" + esc + "[2GX" + esc + "[K", stamp + "aX\r\n");
    same("timestamp, pager left on the screen", "[0 00:00:05.000]   --More--  ", "");
    same("a prompt inside text is text", "see --More-- here", "see --More-- here\r\n");
}

void tst_Controls::cleansLikeATerminal()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, scrollOff);
    QFETCH(QByteArray, scrollOn);
    QCOMPARE(cleanControlled(line, false), scrollOff);
    QCOMPARE(cleanControlled(line, true), scrollOn);
}

void tst_Controls::keepsCharactersAroundSequences_data()
{
    QTest::addColumn<CharacterRule>("rule");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("scrollOff"); // a wide character takes two columns
    QTest::addColumn<QByteArray>("scrollOn");  // the same, but BackSpaces only move the cursor

    const auto sjis = CharacterRule::ShiftJis;
    const auto row = [](const char *name, CharacterRule rule, const QByteArray &line, const QByteArray &off, const QByteArray &on) {
        QTest::newRow(name) << rule << line << off + "\r\n" << on + "\r\n";
    };
    const auto same = [&](const char *name, CharacterRule rule, const QByteArray &line, const QByteArray &written) { row(name, rule, line, written, written); };
    same("sjis CUB over a whole character", sjis, "\x82\xA0\x82\xA2" + esc + "[2D" + esc + "[K", "\x82\xA0");
    same("sjis trail bytes are no finals", sjis, esc + "[1m\x95\x5C\x82\x60" + esc + "[m", "\x95\x5C\x82\x60");
    same("sjis CHA counts columns", sjis, "\x82\xA0\x82\xA2\x82\xA4" + esc + "[3GX", "\x82\xA0X \x82\xA4");
    same("sjis two BackSpaces erase a wide character", sjis, "\x82\xA0\x82\xA2\b\b  \b\b", "\x82\xA0");
    // 大阪支社, twice a BackSpace, a blank and a BackSpace, then 店: 社 retyped.
    same("sjis a wide character erased and retyped", sjis, "\x91\xE5\x8D\xE3\x8E\x78\x8E\xD0\b \b\b \b\x93\x58",
         "\x91\xE5\x8D\xE3\x8E\x78\x93\x58");
    row("sjis half-width katakana is narrow", sjis, "\xB1\xB2\b\b", "", "\xB1\xB2");
    QTest::newRow("sjis a user's prompt") << sjis << QByteArray("\x91\xB1\x8Ds\x82\xB7\x82\xE9\x82\xC9\x82\xCD\x89\xBD\x82\xA9") << QByteArray() << QByteArray();
    same("sjis a trail byte ends no prompt", sjis, "[Page \x81]", "[Page \x81]");
    QTest::newRow("sjis Yamaha's prompt") << sjis << QByteArray("---\x82\xC2\x82\xC3\x82\xAD---") << QByteArray() << QByteArray();
    QTest::newRow("sjis a piece from a trail byte, again after it") << sjis << QByteArray("{\x81]]]}") << QByteArray() << QByteArray();
    same("sjis a piece only from a trail byte", sjis, "{\x81]]}", "{\x81]]}");
    const auto utf8 = CharacterRule::Utf8;
    // あい⌫⌫␣␣⌫⌫: a shell erases い with two BackSpaces, two blanks and two BackSpaces.
    same("utf8 two BackSpaces erase a wide character", utf8, "\xE3\x81\x82\xE3\x81\x84\b\b  \b\b", "\xE3\x81\x82");
    same("utf8 Yamaha's prompt erased by CR", utf8, "---\xE3\x81\xA4\xE3\x81\xA5\xE3\x81\x8F---\r" + times(" ", 12) + "\rip route", "ip route");
    same("utf8 PuTTY's header", utf8, "=~=~=~=~=~=~=~=~=~=~=~= PuTTY log 2026.12.09 10:00:00 =~=~=~=~=~=~=~=~=~=~=~=",
         "=~=~=~=~=~=~=~=~=~=~=~= PuTTY log 2026.12.09 10:00:00 =~=~=~=~=~=~=~=~=~=~=~=");
    same("utf8 wide character rewritten", utf8, "\xE3\x81\x82\xE3\x81\x84\b\b\xE3\x81\x86", "\xE3\x81\x82\xE3\x81\x86");
    same("utf8 description retyped", utf8, "R1#desc \xE6\x9D\xB1\xE4\xBA\xAC\b\b\b\b\xE5\xA4\xA7\xE9\x98\xAA",
         "R1#desc \xE5\xA4\xA7\xE9\x98\xAA");
    // 漢字テスト␍ab: "ab" covers 漢 alone.
    same("utf8 a wide character overwritten whole", utf8, "\xE6\xBC\xA2\xE5\xAD\x97\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\rab",
         "ab\xE5\xAD\x97\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
    same("utf8 CHA over a wide character", utf8, "\xE6\x97\xA5\xE6\x9C\xAC" + esc + "[3G\xE8\xAA\x9E", "\xE6\x97\xA5\xE8\xAA\x9E");
    row("utf8 half-width katakana is narrow", utf8, "\xEF\xBD\xB1\xEF\xBD\xB2\b\b", "", "\xEF\xBD\xB1\xEF\xBD\xB2");
    same("utf8 one half overwritten leaves a blank", utf8, "\xE3\x81\x82\xE3\x81\x84\rx", "x \xE3\x81\x84");
    // A combining mark stays in its character's cell; at column 1 it has none.
    same("utf8 combining marks overwritten with their characters", utf8, "e\xCC\x81" "e\xCC\x81" "e\xCC\x81\rX", "Xe\xCC\x81" "e\xCC\x81");
    same("utf8 a combining mark after a move", utf8, "abc" + esc + "[2G\xCC\x81Z", "a\xCC\x81Zc");
    same("utf8 a combining mark at column 1", utf8, esc + "[m\xCC\x81" "ab", "ab");
    same("sjis line drawing", sjis, esc + "(0lqqk" + esc + "(B", "\x84\xA1\x84\x9F\x84\x9F\x84\xA2");
    same("utf8 ECH blanks characters", utf8, "\xC3\xA9\xC3\xA9\xC3\xA9\r" + esc + "[2X", "  \xC3\xA9");
    same("utf8 EL from the middle of a wide character", utf8, "a\xE3\x81\x82" "b" + esc + "[3G" + esc + "[K", "a");
    same("utf8 a wide character on a row moved to", utf8, "ab\n" + esc + "[A" + esc + "[2G\xE3\x81\x82" + esc + "[Bc", "a\xE3\x81\x82\r\n   c");
    same("utf8 a row moved to, half of a wide character", utf8, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\n" + esc + "[A" + esc + "[3Gx",
         "\xE3\x81\x82x \xE3\x81\x86");
}

void tst_Controls::keepsCharactersAroundSequences()
{
    QFETCH(CharacterRule, rule);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, scrollOff);
    QFETCH(QByteArray, scrollOn);
    QCOMPARE(cleanControlled(line, false, rule), scrollOff);
    QCOMPARE(cleanControlled(line, true, rule), scrollOn);
}

void tst_Controls::cleansRealCaptures_data()
{
    QTest::addColumn<QString>("capture");
    QTest::addColumn<bool>("scroll");
    const QDir folder(testsupport::testData(u"controls"_s));
    for (const QString &file : folder.entryList({u"*.bin"_s})) {
        const QString capture = file.chopped(4);
        QTest::addRow("%s", qPrintable(capture)) << capture << false;
        QTest::addRow("%s, scroll", qPrintable(capture)) << capture << true;
    }
}

void tst_Controls::cleansRealCaptures()
{
    QFETCH(QString, capture);
    QFETCH(bool, scroll);
    const QString source = testsupport::testData(u"controls/"_s + capture + u".bin"_s);
    QByteArray expected = testsupport::readFile(testsupport::testData(u"controls/"_s + capture + u".screen.txt"_s)).replace("\n", "\r\n");
    if (capture == u"un-apic-zsh-nul-padding"_s)
        expected += "\r\n"; // its last line, without LF, shows nothing

    const QTemporaryDir dir;
    NoHost host;
    host.scroll = scroll;
    const tarnwick::RunPaths paths{source, dir.filePath(u"out.txt"_s), dir.filePath(u"Tarnwick-00000001.tmp"_s)};
    QCOMPARE(tarnwick::ConversionRun(paths, CharacterRule::Utf8, host, {.controlsOn = true}).run().status, tarnwick::RunOutcome::Status::Completed);
    QCOMPARE(testsupport::readFile(paths.output), expected);

    // Read and written in small blocks, so that blocks end inside sequences and CR LF pairs.
    for (const std::size_t bufferSize : {1, 2, 3, 5, 7, 64}) {
        QFile input(source);
        QTemporaryFile output;
        QVERIFY(input.open(QIODevice::ReadOnly) && output.open());
        tarnwick::StreamConversion(CharacterRule::Utf8, scroll, {.controlsOn = true, .bufferSize = bufferSize}).run(input, source, output, u"out"_s);
        QVERIFY(output.seek(0));
        QCOMPARE(output.readAll(), expected);
    }
}

void tst_Controls::leavesNoControlInRandomLines()
{
    // Lines of random characters, sequences (whole, broken, unterminated), CRs, BackSpaces, "$",
    // blanks and multi-byte text, through both cleaners under both rules.
    const QList<QByteArray> pieces{"a", "#", "$", " ", "\b", "\b\b\b", "\r", "\x1b", "\x1b[", "\x1b[5D", "\x1b[3C", "\x1b[12G",
                                   "\x1b[K", "\x1b[1K", "\x1b[2J", "\x1b[4X", "\x1b[2P", "\x1b[3@", "\x1b[;7H", "\x1b[999999999D",
                                   "\x1b]0;t\x07", "\x1b]0;t", "\x1bP", "\x1b\\", "\x1b(B", "\x1b[?25l", "\x1b[1;", QByteArray(1, '\0'),
                                   "\x07", "\x7f", "\xE3\x81\x82", "\x82\xA0", "\xC3", "<--- More --->", "--More--"};
    for (const quint32 seed : {1u, 2u, 3u, 4u}) {
        QRandomGenerator random(seed);
        for (const CharacterRule rule : {CharacterRule::Utf8, CharacterRule::ShiftJis}) {
            tarnwick::LineCleaning cleaning(rule, true);
            for (int lineNumber = 0; lineNumber < 500; ++lineNumber) {
                std::string normalised;
                tarnwick::LineEndNormaliser normaliser(true);
                const int length = random.bounded(60);
                for (int i = 0; i < length; ++i)
                    normaliser.append(pieces[random.bounded(int(pieces.size()))].toStdString(), normalised);
                normaliser.finish();
                for (const bool scroll : {false, true}) {
                    const auto written = cleaning.clean(normalised, scroll);
                    if (written && written->find_first_of(std::string_view("\x1b\0\x07\r", 4)) != std::string_view::npos)
                        QFAIL(qPrintable(u"seed %1, line %2: a control is left"_s.arg(seed).arg(lineNumber)));
                }
            }
        }
    }
}

// Over random lines, the lines the fast path copies whole are exactly those a cleaner writes as
// they are: a prompt the list knows can never slip through.
void tst_Controls::fastPathPassesOnlyUntouchedLines()
{
    QList<QByteArray> pieces{"a", "x ", " ", "  ", times(" ", 70), "#", "$", "\b", "\x1b[K", "<--- More --->", "              ",
                             "[2026-12-07 10:00:00.123] ", "\xE3\x81\x82", "\x18"};
    for (const std::string_view prompt : tarnwick::otherPagerPrompts)
        pieces.append(QByteArray(prompt.data(), qsizetype(prompt.size())).replace('#', "7").replace('~', "42"));
    pieces += {"Hit any key", "[Page 2]", "\xE7\xB6\x9A\xE8\xA1\x8C\xE3\x81\x99\xE3\x82\x8B\xE3\x81\xAB\xE3\x81\xAF", "continue"};
    for (const quint32 seed : {11u, 12u, 13u}) {
        QRandomGenerator random(seed);
        for (const auto &[controls, prompts] : {std::pair{false, userPrompts}, {true, QStringList()}, {true, userPrompts}, {true, QStringList{u"*continue"_s}}}) {
            tarnwick::LineCleaning cleaning(CharacterRule::Utf8, controls, prompts);
            std::string text;
            for (int line = 0; line < 3000; ++line) {
                for (int i = random.bounded(4); i > 0; --i)
                    text += pieces[random.bounded(int(pieces.size()))].toStdString();
                text += "\r\n";
            }
            for (std::size_t at = 0; at < text.size();) {
                std::uint64_t lines = 0;
                const std::size_t untouched = cleaning.untouchedPrefix(std::string_view(text).substr(at), 100, lines);
                const std::size_t end = at + (untouched ? untouched : text.find("\r\n", at) + 2 - at);
                for (std::size_t start = at; untouched && start < end;) {
                    const std::size_t lineEnd = text.find("\r\n", start);
                    const std::string_view line(text.data() + start, lineEnd - start);
                    for (const bool scroll : {false, true}) {
                        const auto written = cleaning.clean(line, scroll);
                        if (!written || *written != line)
                            QFAIL(qPrintable(u"seed %1: the fast path passed %2"_s.arg(seed).arg(QString::fromUtf8(line.data(), qsizetype(line.size())))));
                    }
                    start = lineEnd + 2;
                }
                at = end;
            }
        }
    }
}

void tst_Controls::boundsHostileLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("scroll");
    QTest::addColumn<qsizetype>("most"); // bytes the cleaned line may hold; -1: std::bad_alloc
    QTest::addColumn<QByteArray>("start"); // what it begins with

    // A CUB at the end of the line erases there, as BackSpaces do; inside it only moves.
    const QByteArray text = times("x", 2 << 20);
    const QByteArray farLeft = "R1#" + times(esc + "[999999D", 4000);
    QTest::newRow("far moves left, as BackSpaces") << farLeft << true << qsizetype(3) << QByteArray("R1#");
    QTest::newRow("far moves left, plain") << farLeft << false << qsizetype(0) << QByteArray();
    const QByteArray pushedOut = "R1#show" + esc + "[G" + times(esc + "[9999@", 100000);
    QTest::newRow("insertions push text out") << pushedOut << false << qsizetype(0) << QByteArray();
    QTest::newRow("insertions push text out, scroll") << pushedOut << true << qsizetype(0) << QByteArray();
    QTest::newRow("insertions in a long line") << text + esc + "[G" + times(esc + "[999999@", 100000) << false << qsizetype(0) << QByteArray();
    // No longer than the line itself.
    const QByteArray farRight = times(esc + "[999999Cx", 100000);
    QTest::newRow("far moves right and writes") << farRight << false << farRight.size() << QByteArray(" ");
    const QByteArray deleted = text + esc + "[G" + times(esc + "[P", 300000);
    QTest::newRow("deletions in a long line") << deleted << false << deleted.size() << QByteArray("x");
    const QByteArray tabs = times("\t", 2 << 20) + esc + "[m";
    QTest::newRow("tabs") << tabs << false << tabs.size() << QByteArray("\t\t");
    const QByteArray marks = "e" + times("\xCC\x81", 1 << 20) + esc + "[m";
    QTest::newRow("combining marks on one character") << marks << false << qsizetype(32) << QByteArray("e\xCC\x81");
    const QByteArray repeated = "x" + times(esc + "[999999b", 100000);
    // At most as much again.
    QTest::newRow("repeats") << repeated << false << 2 * repeated.size() << QByteArray("x");
    const QByteArray inserted = text + "\r" + esc + "[4h" + times("y", 300000);
    QTest::newRow("insert mode in a long line") << inserted << false << inserted.size() << QByteArray("y");
    const QByteArray erased = text + times(esc + "[1Ky" + esc + "[2K", 200000);
    QTest::newRow("erasures in a long line") << erased << true << erased.size() << QByteArray(" ");
    // On the screen: far rows and columns, rows inserted, deleted and scrolled in and out; the
    // rows it holds and writes are bounded as a line is, however often the moves come.
    const QByteArray screenMoves = times("x" + esc + "[999999;999999Hy" + esc + "[999999A" + esc + "[999999Cz" + esc + "[999999L" + esc + "[999999M" + esc
                                             + "[999999T" + esc + "[999999S" + esc + "M" + esc + "D" + esc + "[999999d" + esc + "[999999E" + esc + "[2J",
                                         2000);
    // The first rows written are those that SU scrolls off, IL having pushed the written ones out.
    QTest::newRow("moves over the screen") << screenMoves << false << qsizetype(64) * 2 * screenMoves.size() << QByteArray("\r\n");
    QTest::newRow("moves over the screen, scroll") << screenMoves << true << qsizetype(64) * 2 * screenMoves.size() << QByteArray("\r\n");
    // Moves to the margin, then as much text again, in character codes: more than the limit.
    const QByteArray tooLarge = "\xC3\xA9" + times(esc + "[1000000C", 11) + times("x", 10 << 20);
    QTest::newRow("too large for memory") << tooLarge << false << qsizetype(-1) << QByteArray();
    QTest::newRow("too large for memory, scroll") << tooLarge << true << qsizetype(-1) << QByteArray();
}

// Sequences that would make a line grow without bound or take quadratic time keep to the
// line's margin and to time linear in the line, within a limited address space; a line that
// does not fit in it fails with std::bad_alloc, not a crash or an overflow.
void tst_Controls::boundsHostileLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, scroll);
    QFETCH(qsizetype, most);
    QFETCH(QByteArray, start);
#if defined(__SANITIZE_ADDRESS__) || defined(Q_OS_WIN)
    if (most < 0)
        QSKIP("no address-space limit in this build");
#endif
    QByteArray cleaned;
    {
        const testsupport::AddressSpaceLimit limit(96 << 20);
        // So that the run can report the log and go on to the next.
        if (most < 0) {
            QVERIFY_THROWS_EXCEPTION(std::bad_alloc, cleanControlled(line, scroll));
            return;
        }
        cleaned = cleanControlled(line, scroll);
    }
    QVERIFY(cleaned.endsWith("\r\n"));
    QVERIFY2(cleaned.size() - 2 <= most, qPrintable(QString::number(cleaned.size())));
    QVERIFY(cleaned.startsWith(start));
}

QTEST_GUILESS_MAIN(tst_Controls)
#include "tst_controls.moc"
