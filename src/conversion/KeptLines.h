#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tarnwick {

// The lines read while the screen holds nothing that are still on its rows above the cursor,
// held back from the output: a later move up may still reach them (see Screen). A ring, so that
// each slot keeps its buffer from line to line.
class KeptLines {
public:
    struct Line {
        std::string text;
        std::size_t stamp = 0; // the timestamp's length, with `row`
        bool row = false;      // a row the screen gave back (see RowSink::keepRow), text as shown
        bool scrollOn = false;
        bool untouched = false; // no cleaner changes it: written as it is
        bool final = false;     // a row written already that shows nothing: written no more
    };

    explicit KeptLines(std::size_t most)
        : lines_(most)
    {
    }

    std::size_t most() const { return lines_.size(); }
    std::size_t size() const { return count_; }
    bool full() const { return count_ == lines_.size(); }
    // The line `index` lines after the oldest.
    Line &operator[](std::size_t index) { return lines_[(first_ + index) % lines_.size()]; }
    // A new line after the others; not when full. Its text is to be assigned.
    Line &push()
    {
        Line &line = (*this)[count_++];
        line.text.clear();
        line.stamp = 0;
        line.row = line.scrollOn = line.untouched = line.final = false;
        return line;
    }
    void dropOldest()
    {
        first_ = (first_ + 1) % lines_.size();
        --count_;
    }
    void clear() { first_ = count_ = 0; }

private:
    std::vector<Line> lines_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace tarnwick
