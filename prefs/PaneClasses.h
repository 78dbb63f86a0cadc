// Registers every class of the pane with the runtime, as loading the bundle does.
#pragma once

namespace zimtone::prefs {

void register_pane_classes();

} // namespace zimtone::prefs
