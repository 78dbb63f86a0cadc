// Registers the classes of the preferences framework and the UIKit pieces it brings, so that
// rows resources and plug-ins can name them.
#pragma once

namespace platform::preferences {

void register_preferences_classes();

} // namespace platform::preferences
