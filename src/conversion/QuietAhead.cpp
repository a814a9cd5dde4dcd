#include "QuietAhead.h"

#include "Screen.h"

namespace tarnwick {

bool QuietAhead::quiet(std::string_view text, std::uint64_t base, std::size_t at)
{
    const std::uint64_t here = base + at;
    if (static_cast<std::int64_t>(here) <= lastQuiet_)
        return true;
    // The line of the control found is read: the text after it is looked at anew.
    if (here > scanned_) {
        scanned_ = here;
        blocked_ = false;
        unseen_ = true;
    }
    if (blocked_ || (base + text.size() == end_ && !unseen_))
        return false;
    end_ = base + text.size();
    unseen_ = false;
    // Whole lines only: a control's end may be in the next piece.
    const std::size_t whole = text.rfind('\n') + 1; // npos + 1 is 0
    const std::size_t from = static_cast<std::size_t>(scanned_ - base);
    if (whole <= from)
        return false;
    std::size_t stop = whole;
    const std::size_t control = screenControlAt(text.substr(from, whole - from));
    if (control != std::string_view::npos) {
        blocked_ = true;
        stop = text.rfind('\n', from + control) + 1;
        scanned_ = base + from + control;
    } else {
        scanned_ = base + whole;
    }
    // Back from the line that may move, or from the end, over the lines that go before it; each
    // ends with CR LF.
    std::size_t start = stop;
    for (std::uint64_t back = 0; back < count_; ++back) {
        if (start <= at)
            return false;
        start = start < 3 ? 0 : text.rfind('\n', start - 3) + 1;
    }
    lastQuiet_ = static_cast<std::int64_t>(base + start);
    return static_cast<std::int64_t>(here) <= lastQuiet_;
}

} // namespace tarnwick
