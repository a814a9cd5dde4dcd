#pragma once

#include <QString>

#include <cstdint>

namespace tarnwick {

// Where the program keeps its temporary file and its profile.
struct ProgramFiles {
    QString temporaryFile;
    QString profile;
};

// What decides ProgramFiles: the program's folder and what can be done there.
struct ProgramFolder {
    QString path;               // closed with a separator
    bool writable = true;
    bool holdsProfile = false;  // a "Tarnwick.ini" already sits there
    QString temporaryFolder;    // the system's, closed with a separator
    QString configurationFolder; // the user's folder for this program's settings, closed with a separator
};

// Both files in the program folder; where that folder cannot be written, the temporary file
// goes to the system's temporary folder and the profile to the user's configuration folder,
// unless a profile already sits beside the program.
ProgramFiles programFiles(const ProgramFolder &folder, std::uint32_t number);

// The facts about the running program's folder.
ProgramFolder runningProgramFolder();

// The folder with a closing separator, added when missing.
QString closedFolder(const QString &folder);

} // namespace tarnwick
