#pragma once

#include <QString>

#include <cstdint>

namespace tarnwick {

// Where the program keeps its temporary file and its profile.
struct ProgramFiles {
    QString temporaryFile;
    QString temporaryFallback; // where the temporary file cannot be made; empty for none
    QString profile;
};

// What decides ProgramFiles: the program's folder and what stands in it.
struct ProgramFolder {
    QString path;               // closed with a separator
    bool holdsProfile = false;  // a "Tarnwick.ini" already sits there
    QString temporaryFolder;    // the system's, closed with a separator
    QString configurationFolder; // the user's folder for this program's settings, closed with a separator
};

// Both files beside the program when a profile already sits there (the portable layout, as a
// folder or a zip is handed round); the temporary file goes to the system's temporary folder
// where it cannot be made in that folder (a read-only medium, a folder of another user's).
// Whether it can is found when it is made, by the run: nothing is written into the program's
// folder to ask. Otherwise, as for an installed program (whoever runs it: root may write into
// /usr/bin, but nothing belongs there), the profile is in the user's configuration folder and
// the temporary file in the system's temporary folder.
ProgramFiles programFiles(const ProgramFolder &folder, std::uint32_t number);

// A number particular to this process (one window, or one batch, a process), for the name of
// its temporary file. Where another instance has taken the name, a run uses another number.
std::uint32_t processNumber();

// The facts about the running program's folder.
ProgramFolder runningProgramFolder();

// The folder with a closing separator, added when missing.
QString closedFolder(const QString &folder);

} // namespace tarnwick
