// Registers the platform classes every process has (Foundation, UIKit basics, the application
// list), so that they can be found by name before anything has used them.
#pragma once

namespace platform {

void register_platform_classes();

} // namespace platform
