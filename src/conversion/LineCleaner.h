#pragma once

#include "BackspaceEraser.h"
#include "CharacterWidth.h"
#include "PagerFilter.h"
#include "ScrolledLineRebuilder.h"
#include "Timestamp.h"

#include <cstdint>
#include <optional>

namespace tarnwick {

// The cleaning of one line, wherever it comes from: BackSpaces applied (or, with the scroll
// setting on, the line replayed on a virtual line and sideways scrolls undone), pager traces
// dropped. Nothing for a line that is left out. A terminal program's timestamp at the start of
// the line (see Timestamps, the user's forms with the known) stays as it is: the cleaning acts on the line after it, and a
// line dropped there is dropped with its timestamp. With terminal controls read, the line's
// control sequences and carriage returns act on it as on a terminal, its trailing blanks go,
// and other vendors' pager prompts and the user's own (see PagerPrompts) are dropped too.
class LineCleaning {
public:
    explicit LineCleaning(CharacterRule rule, bool controlsOn = false, const QStringList &userPrompts = {},
                          const QStringList &userTimestamps = {});

    // The view stays valid until the next call.
    std::optional<std::string_view> clean(std::string_view line, bool scrollOn);

    // How many bytes at the start of `text` (lines ended by CR LF, as the temporary file holds
    // them) are whole lines that clean() would write as they are, with either scroll setting:
    // at most `most` lines, their number in `lines`. They can be copied in one piece.
    std::size_t untouchedPrefix(std::string_view text, std::uint64_t most, std::uint64_t &lines) const;

    // How many lines began with a pager prompt padded with blanks (see paddedPrompt and
    // PagerPrompts::erasedPromptLength) that was taken off: what a prompt erased with BackSpaces
    // or CRs leaves where a terminal program dropped them.
    std::uint64_t promptsLeftAsText() const { return promptsLeftAsText_; }

    const Timestamps &timestamps() const { return timestamps_; }

private:
    // The line after its timestamp, if it has one.
    std::optional<std::string_view> cleanDrawn(std::string_view line, bool scrollOn);

    CharacterRule rule_;
    LineCharacters characters_; // of the line the cleaners act on
    BackspaceEraser eraser_;
    ScrolledLineRebuilder rebuilder_;
    bool controlsOn_;
    PagerPrompts prompts_;
    Timestamps timestamps_;
    std::string stamped_;
    bool afterHugeLine_ = false;
    std::uint64_t promptsLeftAsText_ = 0;
};

} // namespace tarnwick
