#include "StandardStreams.h"

#include <cstdio>

namespace tarnwick {

// Through the C stream: Qt then returns what a pipe holds instead of waiting until the buffer
// is full, so that each line comes out as soon as it has come in.
bool openStandardInput(QFile &file)
{
    return file.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool openStandardOutput(QFile &file)
{
    return file.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
}

} // namespace tarnwick
