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
    const auto fromProfile = [&](const std::optional<bool> &given, const QString &key) { return given.value_or(settings::readSwitch(profile, key)); };
    SettingsInForce inForce;
    inForce.run.controlsOn = fromProfile(settings.controls, settings::controlsKey);
    inForce.run.pagerPrompts = settings::readPagerPrompts(profile) + settings.pagerPrompts;
    inForce.run.replacesSource = fromProfile(settings.overWrite, settings::overWriteKey);
    inForce.run.encoding = settings.encoding.value_or(encodingOfProfileValue(settings::readText(profile, settings::encodingKey)));
    inForce.scroll = fromProfile(settings.scroll, settings::scrollKey);
    inForce.fileExt = settings.fileExt.value_or(settings::readFileExt(profile));
    inForce.keepDots = fromProfile(settings.keepDots, settings::keepDotsKey);
    return inForce;
}

} // namespace tarnwick
