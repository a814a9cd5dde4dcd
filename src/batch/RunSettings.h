#pragma once

#include "LogWalk.h"
#include "ProgramFiles.h"
#include "conversion/ConversionRun.h"
#include "conversion/SourceEncoding.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tarnwick {

// This run's settings in place of the profile's, from the command line; what is not given comes
// from the profile. They never change the profile.
struct RunSettings {
    std::optional<bool> overWrite;
    std::optional<bool> scroll;
    std::optional<QString> fileExt;
    std::optional<bool> controls;
    std::optional<EncodingSetting> encoding;
    std::optional<bool> keepDots;
    std::optional<int> screenRows{};
    QStringList pagerPrompts{}; // in addition to the profile's
    std::optional<bool> mask{};
    QStringList secretShapes{}; // in addition to the profile's
    QStringList timestamps{};   // likewise
    std::optional<bool> recursive{};
    QStringList includes{};     // in place of the profile's extensions of a folder's logs
    std::optional<QString> outputFolder{};
    std::optional<int> jobs{};  // logs converted at once
};

// The most logs converted at once, and the number a batch converts at once unless told: the
// processor's cores.
inline constexpr int mostJobs = 64;
int defaultJobs();

// The number of jobs that a value of the option gives: a number from 1 to mostJobs.
std::optional<int> jobsOfValue(const QString &value);

// Every setting of a run: the command line's, else the profile's (with the first start's
// extension where there is no profile yet). The window shows them, and the batch without a
// window and the run to standard output convert with them.
struct SettingsInForce {
    RunOptions run; // controls, pager prompts, timestamps, masking, encoding; the overwrite setting as replacesSource
    bool scroll = false;
    QString fileExt;
    bool keepDots = false;
    QString outputFolder; // empty: each output beside its log
    LogChoice logs;       // the logs a folder given stands for
    int jobs = 1;
};
SettingsInForce settingsInForce(const RunSettings &settings, const QString &profile);

// The screen's height that a value of the option or the profile gives: a number of rows from 1 to
// Screen::mostHeight, blanks around it allowed; nothing for any other.
std::optional<int> screenRowsOfValue(const QString &value);

// What every kind of run starts from, made once its application object exists: the program's
// files (the temporary file's name with `number`) and the settings in force. Removes the
// temporary files that an earlier run could not (a kill -9, a power cut), and warns on standard
// error of a profile that cannot be used as it is.
struct RunStart {
    ProgramFiles files;
    SettingsInForce settings;
};
RunStart startRun(const RunSettings &settings, std::uint32_t number);

} // namespace tarnwick
