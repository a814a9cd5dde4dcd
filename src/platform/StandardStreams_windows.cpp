#include "StandardStreams.h"

#include <fcntl.h>
#include <io.h>

namespace tarnwick {

// A Windows program gets a descriptor for each standard stream whether or not it has a handle
// behind it (see useParentConsole); a missing one fails where it is used.
void holdClosedStandardStreams() {}

bool standardStreamClosed(StandardStream)
{
    return false;
}

// Binary, so that the C runtime writes CR LF once; by descriptor, whose read takes a broken pipe
// (the writer has ended) for the end of the input.
bool openStandardInput(QFile &file)
{
    _setmode(0, _O_BINARY);
    return file.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool openStandardOutput(QFile &file)
{
    _setmode(1, _O_BINARY);
    return file.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered);
}

} // namespace tarnwick
