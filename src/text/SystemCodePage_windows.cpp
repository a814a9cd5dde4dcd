#include "CharacterRule.h"

#include <string>

#include <windows.h>

namespace tarnwick {

// The ANSI code page: 932 on a Japanese system.
CharacterRule systemCharacterRule()
{
    return characterRuleForCodeset(std::to_string(GetACP()));
}

// Code page 932 is there on every Windows, whatever the system's own.
std::optional<std::string> shiftJisText(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    const int length = static_cast<int>(text.size());
    BOOL unmapped = FALSE;
    const int size = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &unmapped);
    if (size <= 0 || unmapped)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace tarnwick
