// The settings: loaded once at start-up, written back whenever a control changes them.

#include "frmTarnwick.h"

#include "batch/RunSettings.h"
#include "settings/ProfileSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>

namespace settings = tarnwick::settings;

void frmTarnwick::Check1_Click()
{
    settings::keepSwitch(Check1->isChecked(), OverWriteOn, IniFile, settings::overWriteKey);
    showOutputPathInUse();
}

void frmTarnwick::showOutputPathInUse()
{
    Text2->setEnabled(!OverWriteOn || Text2->text().isEmpty());
}

void frmTarnwick::Check2_Click()
{
    settings::keepSwitch(Check2->isChecked(), ScrollOn, IniFile, settings::scrollKey);
}

void frmTarnwick::keepControlsSetting()
{
    settings::keepSwitch(controlsItem->isChecked(), ControlsOn, IniFile, settings::controlsKey);
}

// The output name follows the rule at once.
void frmTarnwick::keepKeepDotsSetting()
{
    settings::keepSwitch(keepDotsItem->isChecked(), KeepDotsOn, IniFile, settings::keepDotsKey);
    Text1_Change();
}

void frmTarnwick::keepMaskSetting()
{
    settings::keepSwitch(maskItem->isChecked(), MaskOn, IniFile, settings::maskKey);
}

void frmTarnwick::keepEncodingSetting()
{
    const auto chosen = static_cast<tarnwick::EncodingSetting>(encodingItems->checkedAction()->data().toInt());
    QString stored = tarnwick::profileValueOf(Encoding);
    settings::keepText(tarnwick::profileValueOf(chosen), stored, IniFile, settings::encodingKey);
    Encoding = chosen;
}

void frmTarnwick::keepRecursiveSetting()
{
    settings::keepSwitch(recursiveItem->isChecked(), RecursiveOn, IniFile, settings::recursiveKey);
}

void frmTarnwick::chooseOutputFolder()
{
    if (const auto chosen = dialogs.chooseFolder(this, OutputFolder.isEmpty() ? lastFolder_ : OutputFolder))
        keepOutputFolder(*chosen);
    else
        showOutputFolder();
}

void frmTarnwick::keepOutputFolder(const QString &folder)
{
    settings::keepText(folder, OutputFolder, IniFile, settings::outputFolderKey);
    showOutputFolder();
    Text1_Change();
}

// The items read what is set, whichever the user chose or cancelled.
void frmTarnwick::showOutputFolder()
{
    besideLogItem->setChecked(OutputFolder.isEmpty());
    outputFolderItem->setText(OutputFolder);
    outputFolderItem->setVisible(!OutputFolder.isEmpty());
    outputFolderItem->setChecked(!OutputFolder.isEmpty());
}

void frmTarnwick::showEncoding()
{
    for (QAction *item : encodingItems->actions())
        item->setChecked(item->data().toInt() == static_cast<int>(Encoding));
}

void frmTarnwick::Text3_Change()
{
    settings::keepText(Text3->text(), OutExt, IniFile, settings::fileExtKey);
}

// Each mirror is set before its control, so that the control's handler finds them equal and
// loading never writes the profile.
void frmTarnwick::loadSettings(const tarnwick::SettingsInForce &settings)
{
    OutExt = settings.fileExt;
    Text3->setText(OutExt);
    OverWriteOn = settings.run.replacesSource;
    Check1->setChecked(OverWriteOn);
    showOutputPathInUse();
    ScrollOn = settings.scroll;
    Check2->setChecked(ScrollOn);
    ControlsOn = settings.run.controlsOn;
    controlsItem->setChecked(ControlsOn);
    KeepDotsOn = settings.keepDots;
    keepDotsItem->setChecked(KeepDotsOn);
    MaskOn = settings.run.masking;
    maskItem->setChecked(MaskOn);
    Encoding = settings.run.encoding;
    showEncoding();
    PagerPrompts = settings.run.pagerPrompts;
    ScreenRows = settings.run.screenHeight;
    SecretShapes = settings.run.secretShapes;
    TimestampForms = settings.run.timestamps;
    OutputFolder = settings.outputFolder;
    showOutputFolder();
    RecursiveOn = settings.logs.recursive;
    recursiveItem->setChecked(RecursiveOn);
    LogFiles = settings.logs;
    Jobs = settings.jobs;
    lastFolder_ = settings::readText(IniFile, settings::lastFolderKey);
}
