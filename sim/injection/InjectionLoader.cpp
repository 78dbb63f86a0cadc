#include "sim/injection/InjectionLoader.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

namespace zimtone::sim {

namespace fs = std::filesystem;
using namespace platform::foundation;

bool filter_matches(const std::vector<std::string>& bundles, std::string_view bundle_identifier) {
    return std::find(bundles.begin(), bundles.end(), bundle_identifier) != bundles.end();
}

namespace {
std::vector<std::string> filter_bundles(const std::string& device_plist) {
    std::vector<std::string> bundles;
    auto filter = NSDictionary::dictionaryWithContentsOfFile(device_plist);
    auto inner = filter ? dynamic_cast<NSDictionary*>(filter->get("Filter").get()) : nullptr;
    auto list = inner ? dynamic_cast<NSArray*>(inner->get("Bundles").get()) : nullptr;
    if (list)
        for (auto& item : list->items())
            if (auto* s = string_of(item.get()))
                bundles.push_back(*s);
    return bundles;
}
} // namespace

InjectionResult load_injected_libraries(std::string_view bundle_identifier, std::string_view device_dir) {
    InjectionResult result;
    fs::path dir = resolve_device_path(device_dir);
    std::error_code ec;
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(dir, ec))
        if (entry.path().extension() == ".plist")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    for (auto& name : names) {
        std::string device_base = std::string(device_dir) + "/" + name;
        if (!filter_matches(filter_bundles(device_base + ".plist"), bundle_identifier))
            continue;
        fs::path library = resolve_device_path(device_base + ".so");
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            result.errors.push_back("cannot load " + library.string() + ": " + (why ? why : "unknown error"));
            continue;
        }
        result.loaded.push_back(name);
        result.handles.push_back(handle);
    }
    return result;
}

} // namespace zimtone::sim
