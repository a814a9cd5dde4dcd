// Start-up of the window: its place, its title, its files and its settings.

#include "frmTarnwick.h"

#include "ProgramFiles.h"
#include "Version.h"
#include "WindowSetup.h"

#include <QScreen>

using namespace tarnwick;

void frmTarnwick::Form_Load(const ProgramFolder &folder)
{
    if (const QScreen *display = screen())
        move(display->geometry().topLeft() + centredPosition(display->geometry().size(), frameGeometry().size()));
    setWindowTitle(titleWithVersion(windowTitle(), programVersion::majorNumber, programVersion::minorNumber));
    const ProgramFiles files = programFiles(folder, processNumber());
    TempFile = files.temporaryFile;
    IniFile = files.profile;
    loadSettings();
}
