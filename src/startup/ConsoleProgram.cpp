#include "ProgramKind.h"

namespace tarnwick {

bool showsWindow()
{
    return false;
}

} // namespace tarnwick
