#pragma once

#include "text/CharacterRule.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A character's bytes (1 to 4) packed into one code, the first byte lowest, and back. Every byte
// after the first of a multi-byte character is non-zero, so the code's length shows in it.
inline std::uint32_t characterCode(std::string_view text, std::size_t pos, std::size_t length)
{
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < length; ++i)
        code |= std::uint32_t(static_cast<unsigned char>(text[pos + i])) << (8 * i);
    return code;
}

inline void appendCharacter(std::string &text, std::uint32_t code)
{
    do {
        text.push_back(static_cast<char>(code & 0xFF));
        code >>= 8;
    } while (code != 0);
}

// The columns a character (its bytes packed into a code, see characterCode) takes on a terminal:
// 2 for a character of East Asian Width W or F, and under the Shift-JIS rule for a double-byte
// character; 1 for every other (ambiguous width too).
int columnsOf(std::uint32_t code, CharacterRule rule);

// Whether a character of UTF-8 (its bytes packed into a code) is a combining mark (a non-spacing
// or enclosing one), which a terminal writes in the cell of the character before it.
bool isCombiningMark(std::uint32_t code);

// A line cut into characters under a rule, with the columns each takes: cut once, for every
// cleaner that needs its characters to read. A line of single-byte text keeps no table, as each
// of its bytes is a character of one column; another keeps one byte for each character.
class LineCharacters {
public:
    // The line must outlive the reading.
    void read(std::string_view line, CharacterRule rule);

    std::string_view bytes() const { return line_; }
    CharacterRule rule() const { return rule_; }
    bool singleByte() const { return singleByte_; }
    std::size_t count() const { return singleByte_ ? line_.size() : shapes_.size(); }
    // The columns of all the characters written in turn.
    std::int64_t columns() const { return columns_; }

    // Of the character `index`, counted from 0.
    std::size_t length(std::size_t index) const { return singleByte_ ? 1 : shapes_[index] & lengthMask; }
    // 0 for a combining mark.
    int columns(std::size_t index) const
    {
        return singleByte_ || (shapes_[index] & (wide | combining)) == 0 ? 1 : (shapes_[index] & wide) != 0 ? 2 : 0;
    }

    // Calls visit(code) for each character in turn while it returns true; false where it stopped.
    template <class Visit>
    bool forEachCode(Visit visit) const
    {
        for (std::size_t index = 0, pos = 0; pos < line_.size(); ++index) {
            const std::size_t size = length(index);
            if (!visit(characterCode(line_, pos, size)))
                return false;
            pos += size;
        }
        return true;
    }

private:
    static constexpr std::uint8_t lengthMask = 0x07;
    static constexpr std::uint8_t wide = 0x08;
    static constexpr std::uint8_t combining = 0x10;

    std::string_view line_;
    CharacterRule rule_ = CharacterRule::Utf8;
    bool singleByte_ = true;
    std::int64_t columns_ = 0;
    std::vector<std::uint8_t> shapes_; // a character's length, `wide` for two columns, `combining` for none
};

} // namespace tarnwick
