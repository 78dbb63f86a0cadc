// Every absolute device path ("/User/Library/...", "/var/lib/dpkg/...") lives under one device
// root directory: $ZIMTONE_DEVICE_ROOT, or ~/.local/share/zimtone/device when it is unset.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::foundation {

std::filesystem::path device_root();
// Overrides the root for this process (tests, and the launcher before it starts hosts).
void set_device_root(const std::filesystem::path& root);
// Maps a device path to the host file system. Relative paths and ".." never leave the root.
std::filesystem::path resolve_device_path(std::string_view device_path);

} // namespace platform::foundation
