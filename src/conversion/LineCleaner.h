#pragma once

#include "BackspaceEraser.h"
#include "ScrolledLineRebuilder.h"
#include "platform/TextInput.h"
#include "platform/TextOutput.h"

#include <optional>

namespace tarnwick {

// The cleaning of one line, wherever it comes from: BackSpaces applied (or, with the scroll
// setting on, the line replayed on a virtual line and sideways scrolls undone), pager traces
// dropped. Nothing for a line that is left out.
class LineCleaning {
public:
    explicit LineCleaning(CharacterRule rule);

    // The view stays valid until the next call.
    std::optional<std::string_view> clean(std::string_view line, bool scrollOn);

private:
    BackspaceEraser eraser_;
    ScrolledLineRebuilder rebuilder_;
};

// The line cleaners of the cleaning pass. Each call reads exactly one line from channel 1
// (which must not be at its end) and writes zero or one line, ended by CR LF, to channel 2.
class LineCleaner {
public:
    LineCleaner(TextInput &channel1, TextOutput &channel2, CharacterRule rule);

    // BackSpaces applied, pager traces dropped; with the scroll setting on, the line goes to
    // CleanScrolledLine instead.
    void CleanLine(bool scrollOn);
    // The line replayed on a virtual line, sideways scrolls undone, pager traces dropped.
    void CleanScrolledLine();

private:
    void write(std::optional<std::string_view> line);

    TextInput &channel1_;
    TextOutput &channel2_;
    LineCleaning cleaning_;
};

} // namespace tarnwick
