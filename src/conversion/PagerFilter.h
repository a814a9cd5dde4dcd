#pragma once

#include "text/CharacterRule.h"

#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// What the device's pager leaves in a capture.
inline constexpr std::string_view pagerPrompt = "<--- More --->";
inline constexpr std::string_view promptEraser = "              "; // 14 blanks
inline constexpr std::string_view paddedPrompt = "<--- More --->              ";

// The line to write for a line that is free of BackSpaces, or nothing when the line is a
// pager prompt or a bare prompt eraser.
std::optional<std::string_view> filterPager(std::string_view line);

// The prompts of the other pagers that terminal-control captures show, each as a line holds it
// alone: '#' stands for a number, '~' for one of at most three digits. In UTF-8; a prompt that is
// not ASCII is looked for in Shift-JIS too.
inline constexpr std::array<std::string_view, 13> otherPagerPrompts = {
    "--More--", "-- More --", "---- More ----", "---(more)---", "---(more ~%)---", "lines #-#",
    "-- MORE --, next page: Space, next line: Enter, quit: Control-C", "Press any key to continue (Q to quit)",
    "--More-- or (q)uit",                    // Cisco WLC
    "Press any key to continue..",           // Cisco WLC
    "---- More ( Press 'Q' to break ) ----", // Huawei SmartAX
    "-- [Q quit|D dump|right|up|down]",      // MikroTik RouterOS
    "---\xE3\x81\xA4\xE3\x81\xA5\xE3\x81\x8F---", // ---つづく---: Yamaha RTX
};

// A user's prompt without leading and trailing blanks, in the text's encoding, in which '*' stands
// for any run of characters; prepared once so that comparing a line with it takes time linear in
// the two.
class WildcardPrompt {
public:
    explicit WildcardPrompt(std::string_view prompt);

    bool matches(std::string_view text, CharacterRule rule) const;
    char front() const { return prompt_.front(); }

private:
    // A text between two stars, with the length of the longest proper prefix of each of its
    // prefixes that is also that prefix's suffix: where a search goes on after a mismatch.
    struct Piece {
        std::string text;
        std::vector<std::size_t> border;
    };

    std::string prompt_;
    bool starred_ = false;
    std::string first_; // before the first star
    std::string last_;  // after the last star
    std::vector<Piece> middle_; // those that are not empty, in order
};

// The pager prompts a run drops with terminal controls read: otherPagerPrompts and the user's
// own, each a text in which '*' stands for any run of characters. A line is a prompt when, apart
// from leading and trailing blanks, it is one.
class PagerPrompts {
public:
    // The user's prompts are read in the encoding of the rule's text; one that cannot be written
    // in it cannot stand in the log either and is left out, and so is one that holds nothing but
    // blanks and stars (see isUsablePagerPrompt).
    PagerPrompts(CharacterRule rule, const QStringList &userPrompts);

    bool matches(std::string_view line) const;
    // Without terminal controls read: the length of a prompt of otherPagerPrompts at the line's
    // start that the device erased with a CR, as many blanks as it is wide and a CR, which the
    // normalising pass dropped, so that the rest is the next line's text (as paddedPrompt is);
    // 0 where there is none.
    std::size_t erasedPromptLength(std::string_view line) const;
    // The bytes those prompts begin with, each once.
    std::string_view erasedStarts() const { return erasedStarts_; }

    // The bytes a prompt begins with, each once: what the fast path of the cleaning pass looks
    // for at a line's start, after blanks (see LineCleaning::untouchedPrefix).
    std::string_view starts() const { return starts_; }
    // True when a prompt begins with '*', so that any line may be one.
    bool mayStartAnywhere() const { return anywhere_; }

private:
    // A prompt of otherPagerPrompts in one encoding, with the columns it takes beyond its bytes
    // (negative for a wide character of more bytes than columns).
    struct Form {
        std::string text;
        std::ptrdiff_t extraColumns = 0;
    };

    CharacterRule rule_;
    std::vector<Form> forms_;
    std::vector<WildcardPrompt> user_;
    std::string starts_;
    std::string erasedStarts_;
    bool anywhere_ = false;
};

// A user's text (a prompt, a shape) in the encoding of the rule's text, or nothing where it
// cannot be written in it.
std::optional<std::string> encoded(const QString &text, CharacterRule rule);

// Whether a user's prompt holds something a line can be compared with: a character other than
// blanks and '*'.
bool isUsablePagerPrompt(const QString &prompt);

} // namespace tarnwick
