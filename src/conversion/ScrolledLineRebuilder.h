#pragma once

#include "BackspaceEraser.h"
#include "CharacterWidth.h"
#include "TerminalLine.h"
#include "text/CharacterRule.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick {

// Replays one captured line the way the terminal showed it: a virtual line with a cursor, on
// which characters overwrite what stands at the cursor and a BackSpace moves the cursor left.
// On top of that it recognises the redraw with which the device's line editor scrolls a long
// command line sideways ("$" after the prompt, the visible part shifted by 10 columns) and
// undoes it, so that the result holds the whole command as typed. Where the line's redraws do
// not keep to that shape, the result is the line as the scroll setting off leaves it (see
// BackspaceEraser): what the screen showed, never a marker spliced into the command.
class ScrolledLineRebuilder {
public:
    explicit ScrolledLineRebuilder(CharacterRule rule) : rule_(rule) {}

    // The rebuilt line, before the pager filter; valid until the next call or until the line
    // itself changes. Nothing carries over from one line to the next. A character takes one
    // column, whatever its width.
    std::string_view rebuild(const LineCharacters &characters);
    // The same for a line not cut into characters yet.
    std::string_view rebuild(std::string_view line);
    // The same for a line whose terminal controls are read (see readTerminalLine), on a terminal
    // line where a wide character takes two columns: a CUB counts as its BackSpaces; every other
    // control acts on the terminal line and cursor, ends the run of characters and BackSpaces
    // that the scroll tests see, and no marker is confirmed across it.
    std::string_view rebuildWithControls(const LineCharacters &characters);

private:
    // Numbers the line's characters into numberedSource_: one below firstNumber (ASCII) as
    // itself, every other one from firstNumber on in the order it first comes, so that a line
    // with multi-byte characters is replayed at 2 bytes a character instead of 4. False when
    // the line holds more different ones than 2 bytes can number.
    bool numberCharacters(const LineCharacters &characters);

    static constexpr std::uint32_t firstNumber = 0x80;

    CharacterRule rule_;
    LineCharacters characters_; // of a line not cut yet
    // Lines of single-byte text are replayed one byte a character; with controls read, the
    // others one code a cell.
    TerminalLine<char> narrowTerminalLine_;
    TerminalLine<std::uint32_t> wideTerminalLine_;
    std::string narrowLine_;
    std::vector<char> narrowRun_; // the runs between controls
    std::vector<std::uint16_t> numberedSource_;
    std::vector<std::uint16_t> numberedLine_;
    std::vector<std::uint32_t> numberedCodes_; // the code of each number from firstNumber on
    std::unordered_map<std::uint32_t, std::uint16_t> numbers_;
    // The codes themselves, where numbers do not do; also the runs between controls.
    std::vector<std::uint32_t> wideSource_;
    std::vector<std::uint32_t> wideLine_;
    std::string wideResult_;
    BackspaceEraser screen_; // for a line whose redraws are not a scroll's
};

} // namespace tarnwick
