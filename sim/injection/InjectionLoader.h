// Loads code-injection libraries into a host process: every library in the folder whose filter
// ("<Name>.plist" beside "<Name>.so", Filter > Bundles) names this process's bundle identifier.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zimtone::sim {

inline constexpr const char* kDynamicLibrariesDir = "/Library/MobileSubstrate/DynamicLibraries";

struct InjectionResult {
    std::vector<std::string> loaded; // library names, in load order
    std::vector<void*> handles;      // their handles, for the host's diagnostics
    std::vector<std::string> errors; // one readable line per library that matched but failed
};

// Pure: whether a filter dictionary's bundle list names the identifier (exact, case-sensitive).
bool filter_matches(const std::vector<std::string>& bundles, std::string_view bundle_identifier);

// Libraries load in name order; each one's initialiser runs on this thread, once per process.
InjectionResult load_injected_libraries(std::string_view bundle_identifier,
                                        std::string_view device_dir = kDynamicLibrariesDir);

} // namespace zimtone::sim
