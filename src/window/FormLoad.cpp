// Start-up of the window: its place, its title, its files and its settings.

#include "frmTarnwick.h"

#include "Version.h"
#include "WindowSetup.h"
#include "batch/RunSettings.h"

#include <QScreen>

using namespace tarnwick;

void frmTarnwick::Form_Load(const RunStart &start)
{
    if (const QScreen *display = screen())
        move(display->geometry().topLeft() + centredPosition(display->geometry().size(), frameGeometry().size()));
    setWindowTitle(titleWithVersion(windowTitle(), programVersion::majorNumber, programVersion::minorNumber));
    TempFile = start.files.temporaryFile;
    TempFallback = start.files.temporaryFallback;
    IniFile = start.files.profile;
    loadSettings(start.settings);
}
