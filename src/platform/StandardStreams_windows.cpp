#include "StandardStreams.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

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

// Standard handles that a caller redirected stay as they are; the others go to the parent's
// console, if there is one.
void useParentConsole()
{
    const auto redirected = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
    };
    const bool output = redirected(STD_OUTPUT_HANDLE);
    const bool error = redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    FILE *reopened = nullptr;
    if (!output)
        freopen_s(&reopened, "CONOUT$", "w", stdout);
    if (!error)
        freopen_s(&reopened, "CONOUT$", "w", stderr);
}

bool standardErrorIsRead()
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    const DWORD type = GetFileType(error);
    return GetConsoleMode(error, &mode) || type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// Through the C runtime's stream, which useParentConsole may have opened on the parent's console
// (the standard handle then still names nothing). A console takes the words as UTF-16, in pieces
// it can hold; anything else gets them in the console's output code page, or the system's where
// the program has no console at all.
void writeWords(WordsTo stream, const QString &words)
{
    FILE *file = stream == WordsTo::Output ? stdout : stderr;
    std::fflush(file);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const auto *text = reinterpret_cast<const wchar_t *>(words.utf16());
        for (qsizetype at = 0; at < words.size();) {
            DWORD written = 0;
            const DWORD piece = DWORD(std::min<qsizetype>(words.size() - at, 8192));
            if (!WriteConsoleW(handle, text + at, piece, &written, nullptr) || written == 0)
                return;
            at += written;
        }
        return;
    }
    const UINT console = GetConsoleOutputCP();
    const UINT codePage = console != 0 ? console : GetACP();
    const auto *text = reinterpret_cast<const wchar_t *>(words.utf16());
    const int length = WideCharToMultiByte(codePage, 0, text, int(words.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(std::max(length, 0)), '\0');
    WideCharToMultiByte(codePage, 0, text, int(words.size()), bytes.data(), length, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    if (stream == WordsTo::Error)
        std::fflush(file);
}

} // namespace tarnwick
