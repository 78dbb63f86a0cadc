// What both Notification Center hooks read from the host and the settings: a section's raw
// identifier, an app's base colour and automatic text colour, and the live settings.
#pragma once

#include <string>

#include "platform/runtime/Runtime.h"
#include "tweak/notificationcenter/nc_colours.h"

namespace zimtone::tweak::notificationcenter {

using platform::runtime::Object;
using platform::runtime::Ref;

NcSettings current_settings();

// The identifier of section N of the controller's ordered sections, before trimming; empty for
// a section that is not there. A date section of the Today list draws a random app with an icon.
std::string raw_section_identifier(Object* controller, int64_t section, ListKind kind);

// The dominant colour of the app's icon, worked out once per hook call for both colours below.
zimtone::colour::Colour icon_colour(const std::string& app);
// The per-app colour when enabled and present, else the icon's dominant colour, with the
// saturation step when allowed; nil for an undecodable per-app entry without the step.
Ref<Object> base_colour(const std::string& app, const zimtone::colour::Colour& icon);
// Always from the icon, whatever the base colour came from.
Ref<Object> automatic_text_colour(const zimtone::colour::Colour& icon);

} // namespace zimtone::tweak::notificationcenter
