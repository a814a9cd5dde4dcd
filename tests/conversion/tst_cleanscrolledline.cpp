#include "CleanOneLine.h"
#include "conversion/ScrolledLineRebuilder.h"

#include <QtTest>

#include <random>
#include <set>

using tarnwick::CharacterRule;
using testsupport::times;

Q_DECLARE_METATYPE(CharacterRule)

namespace {

const QByteArray bs = "\b";

QByteArray backspaces(int n)
{
    return times(bs, n);
}

QByteArray blanks(int n)
{
    return times(" ", n);
}

// The echo a device's line editor sends while a command is typed after the prompt, with the
// line scrolling sideways once the cursor reaches `margin` columns after the prompt: the first
// time it redraws from the prompt with a "$" and hides `hidden` characters (IOS: 11; IOS-XR at
// 80 columns: 28), each further time from the column after the "$", `hidden` - 1 characters
// further on; every redraw ends with `hidden` - 2 blanks and as many BackSpaces. With `repaint`,
// Enter repaints a scrolled line from the prompt as IOS-XR does: the command's first
// (margin - 1) characters, a "$" and 4 BackSpaces.
QByteArray deviceEcho(const QByteArray &prompt, const QByteArray &command, int margin, int hidden = 11, bool repaint = false)
{
    QByteArray echo = prompt;
    const int cleared = hidden - 2;
    int used = 0;          // columns after the prompt on the screen
    int shifts = 0;
    for (int i = 1; i <= command.size(); ++i) {
        if (used < margin) {
            echo += command[i - 1];
            ++used;
            continue;
        }
        const int firstShown = hidden + 1 + (hidden - 1) * shifts;
        echo += shifts == 0 ? backspaces(margin) + "$" : backspaces(margin - 1);
        echo += command.mid(firstShown - 1, i - firstShown + 1) + blanks(cleared) + backspaces(cleared);
        ++shifts;
        used = margin - cleared;
    }
    if (repaint && shifts > 0)
        echo += backspaces(used) + command.left(margin - 1) + "$" + backspaces(4);
    return echo;
}

// The characters of a line under a character rule.
std::set<QByteArray> charactersOf(const QByteArray &line, CharacterRule rule)
{
    std::set<QByteArray> characters;
    const std::string_view view(line.constData(), static_cast<std::size_t>(line.size()));
    for (std::size_t pos = 0; pos < view.size();) {
        const std::size_t length = tarnwick::characterLength(rule, view, pos);
        characters.insert(line.mid(static_cast<qsizetype>(pos), static_cast<qsizetype>(length)));
        pos += length;
    }
    return characters;
}

// Whether the bytes can be cut into a sequence of the given characters. (Cutting the bytes by
// the character rule again would not do: a single lead byte followed by another character may
// read as one double-byte character.)
bool madeOf(const QByteArray &bytes, const std::set<QByteArray> &characters)
{
    QList<bool> reachable(bytes.size() + 1, false);
    reachable[0] = true;
    for (qsizetype pos = 0; pos < bytes.size(); ++pos) {
        if (!reachable[pos])
            continue;
        for (const QByteArray &character : characters) {
            if (QByteArrayView(bytes).sliced(pos).startsWith(character))
                reachable[pos + character.size()] = true;
        }
    }
    return reachable.back();
}

} // namespace

class tst_CleanScrolledLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rebuildsLine_data();
    void rebuildsLine();
    void countsCharactersNotBytes_data();
    void countsCharactersNotBytes();
    void rebuildsDeviceEchoOfLongCommands();
    void rebuildsRealDeviceCapture();
    void handlesVeryLongLines();
    void randomLinesStayInsideTheirCharacters();
};

void tst_CleanScrolledLine::rebuildsLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written"); // with its CR LF; empty when the line is dropped

    const QByteArray typed = "R#abcdefghijkl" + backspaces(12);
    const QByteArray redraw = blanks(9) + backspaces(9);
    QTest::newRow("erase echo") << QByteArray("R#shp\b \bow") << QByteArray("R#show\r\n");
    QTest::newRow("overwrite in the middle") << QByteArray("abc\b\bX") << QByteArray("aXc\r\n");
    QTest::newRow("scroll marker confirmed") << (typed + "$lm" + redraw + "n") << QByteArray("R#abcdefghijklmn\r\n");
    QTest::newRow("redraw not matching the line") << (typed + "$xm" + redraw + "n") << QByteArray("R#$xmn\r\n");
    QTest::newRow("marker and a further shift")
        << (typed + "$lm" + redraw + "nopqrstuv" + backspaces(11) + "vw" + redraw) << QByteArray("R#abcdefghijklmnopqrstuvw\r\n");
    QTest::newRow("empty line") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("backspaces at the start") << QByteArray("\b\b\bab") << QByteArray("ab\r\n");
    QTest::newRow("trailing blank under the cursor erased") << QByteArray("ab \b") << QByteArray("ab\r\n");
    QTest::newRow("blank not at the end stays") << QByteArray("a b\b\b") << QByteArray("a b\r\n");
    QTest::newRow("dollar not after a prompt") << QByteArray("show ip bgp regexp _100$") << QByteArray("show ip bgp regexp _100$\r\n");
    QTest::newRow("dollar first in the line") << QByteArray("$abc\b\bX") << QByteArray("$aXc\r\n");
    QTest::newRow("hash then dollar") << QByteArray("#$") << QByteArray("#$\r\n");
    QTest::newRow("backspaces back to the line start before dollar") << ("#" + backspaces(12) + "$") << QByteArray("$\r\n");
    QTest::newRow("second dollar after a marker is text") << (typed + "$lm" + redraw + "$") << QByteArray("R#abcdefghijklm$\r\n");
    // Redraws of another shape leave the line as the screen showed it, as without the setting.
    QTest::newRow("second marker from the prompt")
        << (typed + "$lm" + redraw + "no" + backspaces(5) + "$no" + redraw + "p") << QByteArray("R#$nop\r\n");
    QTest::newRow("marker after BackSpaces inside a scrolled line")
        << (typed + "$lm" + redraw + "nopq" + backspaces(6) + "$pq" + redraw) << QByteArray("R#$$pq\r\n");
    QTest::newRow("first redraw cut short") << (typed + "$lm" + "n") << QByteArray("R#$lmn\r\n");
    QTest::newRow("repaint with a marker at the end, not the line's")
        << (typed + "$lm" + redraw + "n" + backspaces(4) + "abcdefgxijk$" + backspaces(4)) << QByteArray("R#abcdefgx\r\n");
    QTest::newRow("further shift's redraw cut short") << (typed + "$lm" + redraw + "nopqrstuv" + backspaces(11) + "vw") << QByteArray("R#$vw\r\n");
    QTest::newRow("typed dollar first in a further shift's redraw")
        << deviceEcho("R#", "show running-config \\$ x", 12) << QByteArray("R#show running-config \\$ x\r\n");
    QTest::newRow("exactly 11 backspaces") << ("R#abcdefghijk" + backspaces(11) + "$l" + redraw) << QByteArray("R#abcdefghijkl\r\n");
    QTest::newRow("typed blank at the margin survives") << (typed + "$l " + redraw + "x") << QByteArray("R#abcdefghijkl x\r\n");
    QTest::newRow("10 backspaces: dollar is text") << ("R#abcdefghij" + backspaces(10) + "$x" + redraw) << QByteArray("R#$x\r\n");
    QTest::newRow("dollar typed after prompt") << QByteArray("R#ab\b\b$x") << QByteArray("R#$x\r\n");
    QTest::newRow("dollar after > prompt") << ("R>abcdefghijkl" + backspaces(12) + "$lm" + redraw + "n") << QByteArray("R>abcdefghijklmn\r\n");
    QTest::newRow("rebuilt padded prompt") << ("x\b<--- More --->" + blanks(14) + "Gi0/1") << QByteArray("Gi0/1\r\n");
    QTest::newRow("rebuilt pager prompt dropped") << QByteArray("<--- More --X\b->abc") << QByteArray();
    QTest::newRow("rebuilt prompt eraser dropped") << ("\b" + blanks(14)) << QByteArray();
    QTest::newRow("pager erase replayed")
        << ("<--- More --->" + backspaces(14) + blanks(14) + backspaces(14) + "interface Gi0/1") << QByteArray("interface Gi0/1\r\n");
    QTest::newRow("scroll after a timestamp") << ("[2026-12-07 10:00:00.123] " + typed + "$lm" + redraw + "n")
                                              << QByteArray("[2026-12-07 10:00:00.123] R#abcdefghijklmn\r\n");
    // IOS-XR: a margin of 53 after a 26-character prompt, 28 characters hidden, the repaint on Enter.
    const QByteArray xrPrompt = "RP/0/RSP0/CPU0:r1(config)#";
    QTest::newRow("IOS-XR shift and repaint")
        << (xrPrompt + "no snmp-server traps ospf state-change if-state-chang" + backspaces(53) + "$ate-change if-state-change" + blanks(26)
            + backspaces(53) + "no snmp-server traps ospf state-change if-state-chan$" + backspaces(4))
        << (xrPrompt + "no snmp-server traps ospf state-change if-state-change\r\n");
    const QByteArray subMode = "RP/0/RSP0/CPU0:r1(config-if)#"; // a margin of 50, typing on after the shift
    const QByteArray command = "ipv4 address 192.168.100.1 255.255.255.0 route-tag 4000";
    QTest::newRow("IOS-XR sub-mode, typed on after the shift")
        << (subMode + command.left(50) + backspaces(50) + "$" + command.mid(28, 23) + blanks(26) + backspaces(26) + command.mid(51)
            + backspaces(28) + command.left(49) + "$" + backspaces(4))
        << (subMode + command + "\r\n");
    QTest::newRow("continuation line has no marker in force") << ("abcdefghijkl" + backspaces(11) + "lm" + redraw)
                                                              << QByteArray("alm\r\n");
}

void tst_CleanScrolledLine::rebuildsLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    QCOMPARE(cleanOneLine(line, true), written);
}

void tst_CleanScrolledLine::countsCharactersNotBytes_data()
{
    QTest::addColumn<CharacterRule>("rule");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written");

    const QByteArray a = "\xE3\x81\x82"; // あ in UTF-8
    const QByteArray i = "\xE3\x81\x84"; // い
    const QByteArray u = "\xE3\x81\x86"; // う
    const auto utf8 = CharacterRule::Utf8;
    QTest::newRow("utf8 overwrite") << utf8 << ("R#" + a + i + u + "\b\bX") << ("R#" + a + "X" + u + "\r\n");
    QTest::newRow("utf8 scroll with wide characters")
        << utf8 << ("R#abcdefghijk" + a + backspaces(12) + "$" + a + i + blanks(9) + backspaces(9) + u)
        << ("R#abcdefghijk" + a + i + u + "\r\n");
    QTest::newRow("utf8 invalid bytes are characters") << utf8 << QByteArray("\xFF\xFE\bX") << QByteArray("\xFFX\r\n");
    // Long lines are replayed with their characters numbered, while numbers last.
    const QByteArray xs = times("x", 1 << 16);
    QTest::newRow("utf8 long line") << utf8 << (a + xs + i + "\b\b" + u) << (a + xs.chopped(1) + u + i + "\r\n");
    QByteArray different; // more different characters than two bytes number
    for (char32_t point = 0x800; point < 0x20000; ++point) {
        if (point < 0xD800 || point > 0xDFFF)
            different += QString::fromUcs4(&point, 1).toUtf8();
    }
    QTest::newRow("utf8 long line, too many different characters") << utf8 << (different + "\bX") << (different.chopped(4) + "X\r\n");

    const auto sjis = CharacterRule::ShiftJis;
    QTest::newRow("sjis overwrite") << sjis << QByteArray("R#\x82\xA0\x82\xA2\bX") << QByteArray("R#\x82\xA0X\r\n");
    QTest::newRow("sjis trail byte 0x5C") << sjis << QByteArray("\x95\x5C\x95\x5C\b\bab") << QByteArray("ab\r\n");
}

void tst_CleanScrolledLine::countsCharactersNotBytes()
{
    QFETCH(CharacterRule, rule);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    QCOMPARE(cleanOneLine(line, true, rule), written);
}

void tst_CleanScrolledLine::rebuildsDeviceEchoOfLongCommands()
{
    std::mt19937 random(20261207);
    const QByteArray alphabet = "abcdefghijklmnopqrstuvwxyz0123456789 ./-$";
    tarnwick::ScrolledLineRebuilder rebuilder(CharacterRule::Utf8);
    for (int round = 0; round < 4000; ++round) {
        // IOS, and IOS-XR with its repaint.
        const bool xr = round % 4 >= 2;
        const QByteArray prompt = round % 2 ? "stack3-nyquist-1(config)#" : "R>";
        // Blanks typed right before the margin are erased by the redraw's BackSpaces and only the
        // last (margin - 10) characters are redrawn: a run of them longer than margin - 11 is lost.
        // Real margins are some 50 columns; here runs of blanks stay short of 9.
        const int margin = std::uniform_int_distribution(xr ? 30 : 20, 80)(random);
        QByteArray command;
        const int length = std::uniform_int_distribution(1, 400)(random);
        for (int i = 0; i < length; ++i)
            command += alphabet[std::uniform_int_distribution<int>(0, static_cast<int>(alphabet.size()) - 1)(random)];
        // The BackSpaces of IOS-XR's Enter take a blank typed last for one a redraw left.
        if (xr && command.endsWith(' '))
            command.back() = '.';
        const std::string echo = deviceEcho(prompt, command, margin, xr ? 28 : 11, xr).toStdString();
        const std::string_view rebuilt = rebuilder.rebuild(echo);
        QCOMPARE(QByteArray(rebuilt.data(), static_cast<qsizetype>(rebuilt.size())), prompt + command);
    }
}

void tst_CleanScrolledLine::rebuildsRealDeviceCapture()
{
    // An IOS-XE device's echo of a command typed at an 80-column terminal, scrolled twice.
    const QByteArray echo = testsupport::readFile(testsupport::testData(QStringLiteral("iosxe-config-line-scroll-dollar.txt")));
    QVERIFY(echo.endsWith("\r\n"));
    const QByteArray line = echo.left(echo.indexOf("\r\n"));
    QCOMPARE(cleanOneLine(line, true),
             QByteArray("stack3-nyquist-1(config)#ip dhcp excluded-address vrf vxlan900001 172.16.16.1 172.16.16.9\r\n"));
    // Without the scroll setting the BackSpaces only erase: what the screen showed remains.
    QCOMPARE(cleanOneLine(line, false), QByteArray("stack3-nyquist-1(config)#$ess vrf vxlan900001 172.16.16.1 172.16.16.9\r\n"));
}

void tst_CleanScrolledLine::handlesVeryLongLines()
{
    // Past every 16-bit position: a long command scrolled thousands of times, and a long line of
    // BackSpaces and markers that must not be taken for one.
    const QByteArray command = times("0123456789abcdefghij", 5000);
    const QByteArray echo = deviceEcho("R#", command, 60);
    QCOMPARE(cleanOneLine(echo, true), "R#" + command + "\r\n");

    const QByteArray noise = "R#" + times("x", 40000) + backspaces(40000) + "$" + times("y", 39990) + blanks(9) + backspaces(9);
    QCOMPARE(cleanOneLine(noise, true), "R#$" + times("y", 39990) + "\r\n");
}

void tst_CleanScrolledLine::randomLinesStayInsideTheirCharacters()
{
    const QList<QByteArray> pieces = {"a", "b", " ", "\b", "\b", "\b", "$", "#", ">", "\xE3\x81\x82", "\x82\xA0", "\xFF",
                                      times("\b", 11), times(" ", 9), "<--- More --->"};
    for (const CharacterRule rule : {CharacterRule::Utf8, CharacterRule::ShiftJis}) {
        tarnwick::ScrolledLineRebuilder rebuilder(rule);
        tarnwick::BackspaceEraser eraser;
        for (unsigned seed = 1; seed <= 4000; ++seed) {
            std::mt19937 random(seed);
            QByteArray line;
            const int count = std::uniform_int_distribution(0, 120)(random);
            for (int i = 0; i < count; ++i)
                line += pieces[std::uniform_int_distribution<int>(0, static_cast<int>(pieces.size()) - 1)(random)];
            const std::set<QByteArray> available = charactersOf(line, rule);
            const std::string text = line.toStdString();
            tarnwick::LineCharacters characters;
            characters.read(text, rule);
            for (const std::string_view result : {rebuilder.rebuild(characters), eraser.erase(characters)}) {
                const QByteArray cleaned(result.data(), static_cast<qsizetype>(result.size()));
                QVERIFY2(cleaned.size() <= line.size() - line.count('\b') && madeOf(cleaned, available),
                         qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(QString::fromLatin1(line.toHex(' ')))));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_CleanScrolledLine)
#include "tst_cleanscrolledline.moc"
