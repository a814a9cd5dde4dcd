#include "RunSettings.h"

#include "StandardError.h"
#include "conversion/OutputName.h"
#include "platform/TemporaryFile.h"
#include "settings/ProfileSettings.h"

#include <QThread>

#include <algorithm>

namespace tarnwick {

SettingsInForce settingsInForce(const RunSettings &settings, const QString &profile)
{
    const settings::StoredSettings stored = settings::readStoredSettings(profile);
    SettingsInForce inForce;
    inForce.run.controlsOn = settings.controls.value_or(stored.controls);
    inForce.run.pagerPrompts = stored.pagerPrompts + settings.pagerPrompts;
    inForce.run.timestamps = stored.timestamps + settings.timestamps;
    inForce.run.masking = settings.mask.value_or(stored.mask);
    inForce.run.secretShapes = stored.secretShapes + settings.secretShapes;
    inForce.run.replacesSource = settings.overWrite.value_or(stored.overWrite);
    inForce.run.encoding = settings.encoding.value_or(encodingOfProfileValue(stored.encoding));
    inForce.run.screenHeight = settings.screenRows.value_or(screenRowsOfValue(stored.screenRows).value_or(Screen::defaultHeight));
    inForce.scroll = settings.scroll.value_or(stored.scroll);
    inForce.fileExt = settings.fileExt.value_or(stored.fileExt);
    inForce.keepDots = settings.keepDots.value_or(stored.keepDots);
    inForce.outputFolder = settings.outputFolder.value_or(stored.outputFolder);
    inForce.logs.extensions = stored.logExtensions;
    inForce.logs.includes = settings.includes;
    // With the overwrite setting the logs are their own outputs: no file is left out as one.
    inForce.logs.outputExtension = inForce.run.replacesSource ? QString() : bareExtension(inForce.fileExt);
    inForce.logs.recursive = settings.recursive.value_or(stored.recursive);
    inForce.jobs = settings.jobs.value_or(defaultJobs());
    return inForce;
}

namespace {

// A count that a value gives: a number from 1 to `most`, blanks around it allowed.
std::optional<int> countOfValue(const QString &value, int most)
{
    bool number = false;
    const int count = value.trimmed().toInt(&number);
    if (!number || count < 1 || count > most)
        return std::nullopt;
    return count;
}

} // namespace

std::optional<int> screenRowsOfValue(const QString &value)
{
    return countOfValue(value, Screen::mostHeight);
}

int defaultJobs()
{
    return std::clamp(QThread::idealThreadCount(), 1, mostJobs);
}

std::optional<int> jobsOfValue(const QString &value)
{
    return countOfValue(value, mostJobs);
}

RunStart startRun(const RunSettings &settings, std::uint32_t number)
{
    const ProgramFolder folder = runningProgramFolder();
    for (const QString &used : {folder.path, folder.temporaryFolder})
        removeLeftoverTemporaryFiles(used);
    const ProgramFiles files = programFiles(folder, number);
    warnOfUnusableProfile(files.profile);
    return {files, settingsInForce(settings, files.profile)};
}

} // namespace tarnwick
