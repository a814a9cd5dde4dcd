#include "LineCleaner.h"

#include "PagerFilter.h"

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
