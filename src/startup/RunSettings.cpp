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

SettingsInForce settingsInForce(const RunSettings &settings, const QString &profile)
{
    const settings::StoredSettings stored = settings::readStoredSettings(profile);
    SettingsInForce inForce;
    inForce.run.controlsOn = settings.controls.value_or(stored.controls);
    inForce.run.pagerPrompts = stored.pagerPrompts + settings.pagerPrompts;
    inForce.run.replacesSource = settings.overWrite.value_or(stored.overWrite);
    inForce.run.encoding = settings.encoding.value_or(encodingOfProfileValue(stored.encoding));
    inForce.scroll = settings.scroll.value_or(stored.scroll);
    inForce.fileExt = settings.fileExt.value_or(stored.fileExt);
    inForce.keepDots = settings.keepDots.value_or(stored.keepDots);
    return inForce;
}

} // namespace tarnwick
