// Start-up of the window: its place, its title, its files and its settings.

#include "frmTarnwick.h"

#include "ProgramFiles.h"
#include "Version.h"
#include "WindowSetup.h"

#include <QCoreApplication>
#include <QScreen>

using namespace tarnwick;

namespace {

// A number particular to this running window, for the name of its temporary file: there is
// one window per process. Where another instance has taken the name, a run uses another number.
std::uint32_t windowNumber()
{
    return static_cast<std::uint32_t>(QCoreApplication::applicationPid());
}

} // namespace

void frmTarnwick::Form_Load(const ProgramFolder &folder)
{
    if (const QScreen *display = screen())
        move(display->geometry().topLeft() + centredPosition(display->geometry().size(), frameGeometry().size()));
    setWindowTitle(titleWithVersion(windowTitle(), programVersion::majorNumber, programVersion::minorNumber));
    const ProgramFiles files = programFiles(folder, windowNumber());
    TempFile = files.temporaryFile;
    IniFile = files.profile;
    loadSettings();
}
