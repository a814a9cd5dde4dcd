#pragma once

#include "CharacterWidth.h"
#include "TerminalLine.h"
#include "text/CharacterRule.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// Applies every BackSpace (0x08) of a line to the character before it: a BackSpace removes
// itself and the nearest character to its left that is still there, or only itself at the
// start of the line.
class BackspaceEraser {
public:
    // The cleaned line; valid until the next call or until the line itself changes.
    std::string_view erase(const LineCharacters &characters);
    // The same for a line whose terminal controls are read (see readTerminalLine): while the
    // cursor stands behind the last character a BackSpace deletes it, as above; a move to the
    // left puts the cursor inside the line, where characters overwrite and a BackSpace only
    // moves the cursor.
    std::string_view eraseWithControls(const LineCharacters &characters);

private:
    std::string_view eraseBytes(std::string_view line);
    std::string_view eraseCharacters(const LineCharacters &characters);

    // Lines of single-byte text are replayed one byte a cell.
    TerminalLine<char> narrowLine_;
    TerminalLine<std::uint32_t> wideLine_;
    std::string kept_;
};

} // namespace tarnwick
