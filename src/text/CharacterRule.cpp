#include "CharacterRule.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

namespace tarnwick {

namespace {

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

std::size_t utf8Length(std::string_view text, std::size_t pos)
{
    const auto byteAt = [&](std::size_t offset) -> unsigned char {
        return pos + offset < text.size() ? static_cast<unsigned char>(text[pos + offset]) : 0;
    };
    const unsigned char lead = byteAt(0);
    if (lead < 0x80)
        return 1;
    const auto continuation = [&](std::size_t offset) { return inRange(byteAt(offset), 0x80, 0xBF); };
    if (inRange(lead, 0xC2, 0xDF))
        return continuation(1) ? 2 : 1;
    // The ranges of the second byte exclude overlong forms, surrogates and values past U+10FFFF.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (inRange(lead, 0xE0, 0xEF)) {
        if (lead == 0xE0)
            secondLow = 0xA0;
        else if (lead == 0xED)
            secondHigh = 0x9F;
        return inRange(byteAt(1), secondLow, secondHigh) && continuation(2) ? 3 : 1;
    }
    if (inRange(lead, 0xF0, 0xF4)) {
        if (lead == 0xF0)
            secondLow = 0x90;
        else if (lead == 0xF4)
            secondHigh = 0x8F;
        return inRange(byteAt(1), secondLow, secondHigh) && continuation(2) && continuation(3) ? 4 : 1;
    }
    return 1;
}

std::size_t shiftJisLength(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (!inRange(lead, 0x81, 0x9F) && !inRange(lead, 0xE0, 0xFC))
        return 1;
    if (pos + 1 >= text.size())
        return 1;
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    return inRange(trail, 0x40, 0x7E) || inRange(trail, 0x80, 0xFC) ? 2 : 1;
}

} // namespace

std::size_t characterLength(CharacterRule rule, std::string_view text, std::size_t pos)
{
    return rule == CharacterRule::ShiftJis ? shiftJisLength(text, pos) : utf8Length(text, pos);
}

bool isSingleByteText(std::string_view text)
{
    // No early exit: the loop then runs on vector instructions.
    unsigned char bits = 0;
    for (const char c : text)
        bits |= static_cast<unsigned char>(c);
    return bits < 0x80;
}

std::size_t singleBytePrefix(std::string_view text)
{
    // Eight bytes at a time, then the one that is not.
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + pos, 8);
        if (word & 0x8080808080808080u)
            break;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
        ++pos;
    return pos;
}

CharacterRule characterRuleForCodeset(std::string_view codeset)
{
    std::string name;
    for (const char c : codeset) {
        if (c != '-' && c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const bool shiftJis = name == "SHIFTJIS" || name == "SJIS" || name == "CP932" || name == "932"
        || name == "WINDOWS31J" || name == "MSKANJI";
    return shiftJis ? CharacterRule::ShiftJis : CharacterRule::Utf8;
}

} // namespace tarnwick
