// Locked read-modify-write of a settings file.
#include "platform/foundation/SettingsFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/PropertyList.h"

namespace platform::foundation {

namespace {

bool fail(std::string* error, const char* action, const std::string& device_path, int code) {
    if (error)
        *error = std::string("cannot ") + action + " " + device_path + ": " +
                 std::generic_category().message(code);
    return false;
}

} // namespace

Ref<NSMutableDictionary> read_dictionary_or_empty(const std::string& device_path) {
    auto dict = read_dictionary_file(device_path);
    return dict ? dict->mutableCopy() : NSMutableDictionary::create();
}

bool update_dictionary_file(const std::string& device_path,
                            const std::function<void(NSMutableDictionary&)>& change, std::string* error) {
    auto target = resolve_device_path(device_path);
    if (target == device_root())
        return fail(error, "write", device_path, EISDIR);
    std::error_code made;
    std::filesystem::create_directories(target.parent_path(), made);
    if (made)
        return fail(error, "write", device_path, made.value());
    auto lock = FileLock::acquire(target);
    if (!lock)
        return fail(error, "lock", device_path, errno);
    auto dict = read_dictionary_or_empty(device_path);
    change(*dict);
    if (!write_property_list_file(device_path, dict.get(), PlistFormat::XML))
        return fail(error, "write", device_path, errno);
    return true;
}

} // namespace platform::foundation
