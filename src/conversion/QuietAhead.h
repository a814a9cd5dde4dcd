#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwick {

// How far the text ahead is known to hold no control that may move the cursor to another row:
// the lines held back for the screen (see KeptLines) go out at once where a screen's height of
// lines after them is known to be such, so that a capture without such moves costs no copy of
// its lines. Offsets count from the text's start, across the pieces it comes in; each byte is
// looked at once as the text comes, and once more back over at most the lines to be read.
class QuietAhead {
public:
    // `count`: the lines that must be known quiet, a screen's height less the cursor's row.
    explicit QuietAhead(std::uint64_t count)
        : count_(count)
    {
    }

    // Whether the `count` lines from text[at] on (a line's start) are whole in `text` and none of
    // them may move the cursor; `base` is the offset of text[0] in the whole text.
    bool quiet(std::string_view text, std::uint64_t base, std::size_t at);

private:
    std::uint64_t count_;

    std::uint64_t scanned_ = 0;   // looked at up to: a line's start, or a control that may move
    bool blocked_ = false;        // a control that may move at scanned_
    std::uint64_t end_ = 0;       // the end of the text last looked at
    bool unseen_ = true;          // the text up to end_ is still to be looked at
    std::int64_t lastQuiet_ = -1; // the last line's start known to be quiet so far (none)
};

} // namespace tarnwick
