#include "ProgramKind.h"

namespace tarnwick {

bool showsWindow()
{
    return true;
}

} // namespace tarnwick
