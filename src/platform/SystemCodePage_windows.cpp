#include "CharacterRule.h"

#include <string>

#include <windows.h>

namespace tarnwick {

// The ANSI code page: 932 on a Japanese system.
CharacterRule systemCharacterRule()
{
    return characterRuleForCodeset(std::to_string(GetACP()));
}

} // namespace tarnwick
