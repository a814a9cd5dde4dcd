#include "text/CharacterRule.h"

#include <QtTest>

using tarnwick::CharacterRule;

Q_DECLARE_METATYPE(CharacterRule)

class tst_CharacterRule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsTextIntoCharacters_data();
    void splitsTextIntoCharacters();
    void ruleOfCodeset_data();
    void ruleOfCodeset();
};

void tst_CharacterRule::splitsTextIntoCharacters_data()
{
    QTest::addColumn<CharacterRule>("rule");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("lengths");

    const auto utf8 = CharacterRule::Utf8;
    QTest::newRow("utf8 ascii") << utf8 << QByteArray("a\b$") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 two, three, four bytes") << utf8 << QByteArray("\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80") << QList<int>{2, 3, 4};
    QTest::newRow("utf8 overlong two-byte form") << utf8 << QByteArray("\xC0\xAF\xC1\xBF") << QList<int>{1, 1, 1, 1};
    QTest::newRow("utf8 overlong three-byte form") << utf8 << QByteArray("\xE0\x9F\xBF") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 surrogate") << utf8 << QByteArray("\xED\xA0\x80") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 last below surrogates") << utf8 << QByteArray("\xED\x9F\xBF") << QList<int>{3};
    QTest::newRow("utf8 past U+10FFFF") << utf8 << QByteArray("\xF4\x90\x80\x80") << QList<int>{1, 1, 1, 1};
    QTest::newRow("utf8 U+10FFFF") << utf8 << QByteArray("\xF4\x8F\xBF\xBF") << QList<int>{4};
    QTest::newRow("utf8 F5 and FF never lead") << utf8 << QByteArray("\xF5\x80\xFF") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 truncated at end of text") << utf8 << QByteArray("a\xE3\x81") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 lead followed by backspace") << utf8 << QByteArray("\xE3\x81\b") << QList<int>{1, 1, 1};
    QTest::newRow("utf8 lone continuation bytes") << utf8 << QByteArray("\x80\xBF") << QList<int>{1, 1};
    QTest::newRow("utf8 NUL is a character") << utf8 << QByteArray("a\0b", 3) << QList<int>{1, 1, 1};

    const auto sjis = CharacterRule::ShiftJis;
    QTest::newRow("sjis hiragana a") << sjis << QByteArray("\x82\xA0") << QList<int>{2};
    QTest::newRow("sjis lowest and highest pairs") << sjis << QByteArray("\x81\x40\xFC\xFC") << QList<int>{2, 2};
    QTest::newRow("sjis 0x7F is no trail byte") << sjis << QByteArray("\x81\x7F") << QList<int>{1, 1};
    QTest::newRow("sjis trail byte 0x5C (backslash)") << sjis << QByteArray("\x95\x5C") << QList<int>{2};
    QTest::newRow("sjis half-width katakana is one byte") << sjis << QByteArray("\xB1\xB2") << QList<int>{1, 1};
    QTest::newRow("sjis lead then backspace") << sjis << QByteArray("\x82\b") << QList<int>{1, 1};
    QTest::newRow("sjis lead at end of text") << sjis << QByteArray("a\x82") << QList<int>{1, 1};
    QTest::newRow("sjis 0xA0 and 0xFD never lead") << sjis << QByteArray("\xA0\x40\xFD\x40") << QList<int>{1, 1, 1, 1};
}

void tst_CharacterRule::splitsTextIntoCharacters()
{
    QFETCH(CharacterRule, rule);
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, lengths);

    const std::string_view view(text.constData(), static_cast<std::size_t>(text.size()));
    QList<int> found;
    for (std::size_t pos = 0; pos < view.size();) {
        const std::size_t length = tarnwick::characterLength(rule, view, pos);
        found.append(static_cast<int>(length));
        pos += length;
    }
    QCOMPARE(found, lengths);
}

void tst_CharacterRule::ruleOfCodeset_data()
{
    QTest::addColumn<QByteArray>("codeset");
    QTest::addColumn<CharacterRule>("rule");
    QTest::newRow("UTF-8") << QByteArray("UTF-8") << CharacterRule::Utf8;
    QTest::newRow("ASCII locale") << QByteArray("ANSI_X3.4-1968") << CharacterRule::Utf8;
    QTest::newRow("SHIFT_JIS") << QByteArray("SHIFT_JIS") << CharacterRule::ShiftJis;
    QTest::newRow("sjis") << QByteArray("sjis") << CharacterRule::ShiftJis;
    QTest::newRow("CP932") << QByteArray("CP932") << CharacterRule::ShiftJis;
    QTest::newRow("Windows code page 932") << QByteArray("932") << CharacterRule::ShiftJis;
}

void tst_CharacterRule::ruleOfCodeset()
{
    QFETCH(QByteArray, codeset);
    QFETCH(CharacterRule, rule);
    QCOMPARE(tarnwick::characterRuleForCodeset(codeset.toStdString()), rule);
}

QTEST_APPLESS_MAIN(tst_CharacterRule)
#include "tst_characterrule.moc"
