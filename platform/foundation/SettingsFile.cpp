// Locked read-modify-write of a settings file.
#include "platform/foundation/SettingsFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/PropertyList.h"

namespace platform::foundation {

namespace {

Failure fail(const char* action, const std::string& device_path, int code) {
    return Failure{std::string("cannot ") + action + " " + device_path + ": " +
                   std::generic_category().message(code)};
}

} // namespace

Ref<NSMutableDictionary> read_dictionary_or_empty(const std::string& device_path) {
    auto dict = read_dictionary_file(device_path);
    return dict ? dict->mutableCopy() : NSMutableDictionary::create();
}

Result<void> update_dictionary_file(const std::string& device_path,
                                    const std::function<void(NSMutableDictionary&)>& change) {
    auto target = resolve_device_path(device_path);
    if (target == device_root())
        return fail("write", device_path, EISDIR);
    std::error_code made;
    std::filesystem::create_directories(target.parent_path(), made);
    if (made)
        return fail("write", device_path, made.value());
    auto lock = FileLock::acquire(device_path);
    if (!lock)
        return Failure{"cannot lock " + device_path + ": " + lock.error()};
    // Writing a dictionary that lacks the keys of a file we could not read would lose them.
    auto current = read_dictionary_file_or_problem(device_path);
    if (current.outcome == DictionaryFileReading::Outcome::Unreadable)
        return Failure{"cannot read " + device_path + ": " + current.problem};
    auto dict = current.dictionary ? current.dictionary->mutableCopy() : NSMutableDictionary::create();
    change(*dict);
    std::string bytes = serialise_property_list(dict.get(), PlistFormat::XML);
    if (bytes.empty())
        return fail("write", device_path, EINVAL);
    if (bytes.size() > max_property_list_file_size)
        return Failure{"cannot write " + device_path + ": the result would be larger than " +
                       std::to_string(max_property_list_file_size >> 20) + " MiB"};
    if (!replace_file_atomically(device_path, bytes, *lock))
        return fail("write", device_path, errno);
    return {};
}

} // namespace platform::foundation
