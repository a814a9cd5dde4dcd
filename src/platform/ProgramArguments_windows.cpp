#include "ProgramArguments.h"

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>

namespace tarnwick {

QList<ProgramArgument> programArguments(int, char *[])
{
    QList<ProgramArgument> arguments;
    int count = 0;
    if (wchar_t **split = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.append({QString::fromWCharArray(split[i]), true, {}});
        LocalFree(split);
    }
    return arguments;
}

} // namespace tarnwick
