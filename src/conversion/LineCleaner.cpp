#include "LineCleaner.h"

#include "PagerFilter.h"

namespace tarnwick {

LineCleaner::LineCleaner(TextInput &channel1, TextOutput &channel2, CharacterRule rule)
    : channel1_(channel1)
    , channel2_(channel2)
    , eraser_(rule)
    , rebuilder_(rule)
{
}

void LineCleaner::CleanLine(bool scrollOn)
{
    if (scrollOn) {
        CleanScrolledLine();
        return;
    }
    writeUnlessPager(eraser_.erase(channel1_.readLine()));
}

void LineCleaner::CleanScrolledLine()
{
    writeUnlessPager(rebuilder_.rebuild(channel1_.readLine()));
}

void LineCleaner::writeUnlessPager(std::string_view line)
{
    if (const auto kept = filterPager(line))
        channel2_.writeLine(*kept);
}

} // namespace tarnwick
