#include "RunSettings.h"

#include "settings/ProfileSettings.h"
#include "window/frmTarnwick.h"

#include <QAction>
#include <QCheckBox>
#include <QSignalBlocker>

namespace tarnwick {

namespace {

// The control's change handler is what writes the profile; it is kept silent here. The control
// is a check box or a check item.
template <class Control>
void setSwitch(Control *control, bool &mirror, bool on)
{
    const QSignalBlocker silent(control);
    control->setChecked(on);
    mirror = on;
}

} // namespace

void applyRunSettings(frmTarnwick &form, const RunSettings &settings)
{
    if (settings.overWrite)
        setSwitch(form.Check1, form.OverWriteOn, *settings.overWrite);
    if (settings.scroll)
        setSwitch(form.Check2, form.ScrollOn, *settings.scroll);
    if (settings.controls)
        setSwitch(form.controlsItem, form.ControlsOn, *settings.controls);
    if (settings.keepDots)
        setSwitch(form.keepDotsItem, form.KeepDotsOn, *settings.keepDots);
    if (settings.encoding) {
        form.Encoding = *settings.encoding;
        form.showEncoding();
    }
    form.PagerPrompts += settings.pagerPrompts;
    if (settings.fileExt) {
        const QSignalBlocker silent(form.Text3);
        form.Text3->setText(*settings.fileExt);
        form.OutExt = *settings.fileExt;
    }
}

bool scrollSetting(const RunSettings &settings, const QString &profile)
{
    return settings.scroll.value_or(settings::readSwitch(profile, settings::scrollKey));
}

bool controlsSetting(const RunSettings &settings, const QString &profile)
{
    return settings.controls.value_or(settings::readSwitch(profile, settings::controlsKey));
}

EncodingSetting encodingSetting(const RunSettings &settings, const QString &profile)
{
    return settings.encoding.value_or(encodingOfProfileValue(settings::readText(profile, settings::encodingKey)));
}

QStringList pagerPromptsSetting(const RunSettings &settings, const QString &profile)
{
    return settings::readPagerPrompts(profile) + settings.pagerPrompts;
}

} // namespace tarnwick
