#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// How the bytes of a line group into characters of the system's narrow code page. Lines are
// never re-encoded; this only tells where one character ends and the next begins.
enum class CharacterRule {
    // A well-formed UTF-8 sequence is one character; any other byte is a character by itself.
    Utf8,
    // A lead byte 0x81-0x9F or 0xE0-0xFC with a trail byte 0x40-0x7E or 0x80-0xFC is one
    // character; every other byte is one.
    ShiftJis,
};

// Length in bytes (1 to 4) of the character that starts at text[pos]; requires pos < text.size().
std::size_t characterLength(CharacterRule rule, std::string_view text, std::size_t pos);

// True when every byte of the text is below 0x80, so that each byte is one character
// under either rule.
bool isSingleByteText(std::string_view text);
// How many bytes at the start of the text are below 0x80.
std::size_t singleBytePrefix(std::string_view text);

// The rule of a locale codeset name such as "UTF-8" or "SJIS" (or of Windows code page
// 932); every codeset that is not Shift-JIS gets the UTF-8 rule.
CharacterRule characterRuleForCodeset(std::string_view codeset);

// The rule of the code page this process uses for narrow text.
CharacterRule systemCharacterRule();

// The text in Shift-JIS (code page 932), or nothing where a character has no place there.
std::optional<std::string> shiftJisText(std::u16string_view text);

} // namespace tarnwick
