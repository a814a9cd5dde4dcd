#include "LineCleaner.h"

#include "PagerFilter.h"

namespace tarnwick {

LineCleaning::LineCleaning(CharacterRule rule)
    : eraser_(rule)
    , rebuilder_(rule)
{
}

std::optional<std::string_view> LineCleaning::clean(std::string_view line, bool scrollOn)
{
    return filterPager(scrollOn ? rebuilder_.rebuild(line) : eraser_.erase(line));
}

LineCleaner::LineCleaner(TextInput &channel1, TextOutput &channel2, CharacterRule rule)
    : channel1_(channel1)
    , channel2_(channel2)
    , cleaning_(rule)
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
