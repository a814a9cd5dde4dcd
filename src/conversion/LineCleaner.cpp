#include "LineCleaner.h"

#include "PagerFilter.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarnwick {

LineCleaning::LineCleaning(CharacterRule rule, bool controlsOn)
    : eraser_(rule)
    , rebuilder_(rule)
    , controlsOn_(controlsOn)
{
}

std::optional<std::string_view> LineCleaning::clean(std::string_view line, bool scrollOn)
{
    if (!controlsOn_)
        return filterPager(scrollOn ? rebuilder_.rebuild(line) : eraser_.erase(line));
    std::string_view shown;
    if (holdsControls(line))
        shown = scrollOn ? rebuilder_.rebuildWithControls(line) : eraser_.eraseWithControls(line);
    else
        shown = scrollOn ? rebuilder_.rebuild(line) : eraser_.erase(line);
    auto kept = filterPager(shown);
    if (!kept)
        return std::nullopt;
    // A terminal shows no trailing blanks; erasing leaves them.
    kept = kept->substr(0, kept->find_last_not_of(' ') + 1);
    if (isOtherPagerPrompt(*kept))
        return std::nullopt;
    return kept;
}

namespace {

// Where the first byte that a cleaner acts on inside a line stands, or npos.
std::size_t firstActedOn(std::string_view text, bool controlsOn)
{
    if (!controlsOn)
        return text.find('\b');
    static constexpr auto actedOn = [] {
        std::array<bool, 256> table{};
        for (const unsigned char c : {'\b', '\x1b', '\0', '\a', '\x0e', '\x0f', '\x7f'})
            table[c] = true;
        return table;
    }();
    return static_cast<std::size_t>(std::find_if(text.begin(), text.end(), [](char c) { return actedOn[static_cast<unsigned char>(c)]; })
                                    - text.begin());
}

} // namespace

std::size_t LineCleaning::untouchedPrefix(std::string_view text, std::uint64_t most, std::uint64_t &lines) const
{
    // First the lines whose first and last characters let no pager test match, then the first
    // byte that a cleaner acts on, which ends the stretch at the start of its line.
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *from = begin;
    for (lines = 0; lines < most; ++lines) {
        const auto *lf = static_cast<const char *>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
        if (!lf || lf == from)
            break;
        const std::string_view line(from, static_cast<std::size_t>(lf - 1 - from)); // up to the CR before the LF
        if (!line.empty()) {
            if (line.front() == '<')
                break;
            if (controlsOn_) {
                // Trailing blanks go; another pager's prompt begins, after blanks, with one of these.
                if (line.back() == ' ')
                    break;
                const char first = line[line.find_first_not_of(' ')];
                if (first == '-' || first == 'l' || first == 'P')
                    break;
            } else if (line == promptEraser) {
                break;
            }
        }
        from = lf + 1;
    }
    const std::string_view candidates(begin, static_cast<std::size_t>(from - begin));
    const char *const stop = begin + std::min(firstActedOn(candidates, controlsOn_), candidates.size());
    if (stop == from)
        return static_cast<std::size_t>(from - begin);
    lines = static_cast<std::uint64_t>(std::count(begin, stop, '\n'));
    const std::string_view before(begin, static_cast<std::size_t>(stop - begin));
    const auto lastLf = before.rfind('\n');
    return lastLf == std::string_view::npos ? 0 : lastLf + 1;
}

LineCleaner::LineCleaner(TextInput &channel1, TextOutput &channel2, CharacterRule rule, bool controlsOn)
    : channel1_(channel1)
    , channel2_(channel2)
    , cleaning_(rule, controlsOn)
{
}

void LineCleaner::CleanLine(bool scrollOn)
{
    write(cleaning_.clean(channel1_.readLine(), scrollOn));
}

void LineCleaner::CleanScrolledLine()
{
    write(cleaning_.clean(channel1_.readLine(), true));
}

void LineCleaner::write(std::optional<std::string_view> line)
{
    if (line)
        channel2_.writeLine(*line);
}

} // namespace tarnwick
