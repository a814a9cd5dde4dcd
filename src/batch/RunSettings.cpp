#include "RunSettings.h"

#include "StandardError.h"
#include "platform/TemporaryFile.h"
#include "settings/ProfileSettings.h"

namespace tarnwick {

SettingsInForce settingsInForce(const RunSettings &settings, const QString &profile)
{
    const settings::StoredSettings stored = settings::readStoredSettings(profile);
    SettingsInForce inForce;
    inForce.run.controlsOn = settings.controls.value_or(stored.controls);
    inForce.run.pagerPrompts = stored.pagerPrompts + settings.pagerPrompts;
    inForce.run.masking = settings.mask.value_or(stored.mask);
    inForce.run.secretShapes = stored.secretShapes + settings.secretShapes;
    inForce.run.replacesSource = settings.overWrite.value_or(stored.overWrite);
    inForce.run.encoding = settings.encoding.value_or(encodingOfProfileValue(stored.encoding));
    inForce.run.screenHeight = settings.screenRows.value_or(screenRowsOfValue(stored.screenRows).value_or(Screen::defaultHeight));
    inForce.scroll = settings.scroll.value_or(stored.scroll);
    inForce.fileExt = settings.fileExt.value_or(stored.fileExt);
    inForce.keepDots = settings.keepDots.value_or(stored.keepDots);
    return inForce;
}

std::optional<int> screenRowsOfValue(const QString &value)
{
    bool number = false;
    const int rows = value.trimmed().toInt(&number);
    if (!number || rows < 1 || rows > Screen::mostHeight)
        return std::nullopt;
    return rows;
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
