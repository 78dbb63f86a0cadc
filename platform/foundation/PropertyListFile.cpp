// Reading property-list files under the device root, and replacing them atomically under their
// writers' lock.
#include "platform/foundation/PropertyList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Descriptor.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSDictionary.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

// A regular file of at most `limit` bytes, whole; or that there is no such file; or why it cannot
// be read. Opening does not wait on a fifo, and a file that grows past the limit while being read
// is refused as well.
struct SmallFile {
    std::optional<std::string> content;
    bool missing{false};
    std::string problem;
};

SmallFile refused(std::string problem) {
    return {std::nullopt, false, std::move(problem)};
}

std::string larger_than(size_t limit) {
    return "larger than " + std::to_string(limit >> 20) + " MiB";
}

SmallFile read_small_regular_file(const std::filesystem::path& path, size_t limit) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return errno == ENOENT ? SmallFile{std::nullopt, true, ""}
                               : refused(std::generic_category().message(errno));
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        return refused(std::generic_category().message(errno));
    if (!S_ISREG(info.st_mode))
        return refused("not a regular file");
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > limit)
        return refused(larger_than(limit));
    std::string content(static_cast<size_t>(info.st_size) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (content.size() > limit)
                return refused(larger_than(limit));
            content.resize(std::min(content.size() * 2, limit + 1));
        }
        ssize_t got = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return refused(std::generic_category().message(errno));
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    if (filled > limit)
        return refused(larger_than(limit));
    content.resize(filled);
    return {std::move(content), false, ""};
}

} // namespace

DictionaryFileReading read_dictionary_file_or_problem(const std::string& device_path) {
    auto file = read_small_regular_file(resolve_device_path(device_path), max_property_list_file_size);
    if (file.missing)
        return {DictionaryFileReading::Outcome::Missing, nullptr, ""};
    if (!file.content)
        return {DictionaryFileReading::Outcome::Unreadable, nullptr, file.problem};
    // An empty file holds no keys, so replacing it loses nothing; refusing it would block every save.
    if (file.content->empty())
        return {DictionaryFileReading::Outcome::Empty, nullptr, ""};
    auto root = parse_property_list(file.content->data(), file.content->size());
    Ref<NSDictionary> dictionary(dynamic_cast<NSDictionary*>(root.get()));
    if (!dictionary)
        return {DictionaryFileReading::Outcome::Unreadable, nullptr,
                "not a property list with a dictionary root"};
    return {DictionaryFileReading::Outcome::Read, dictionary, ""};
}

Ref<NSDictionary> read_dictionary_file(const std::string& device_path) {
    return read_dictionary_file_or_problem(device_path).dictionary;
}

bool write_property_list_file(const std::string& device_path, const Object* root, PlistFormat format) {
    std::string bytes = serialise_property_list(root, format);
    if (bytes.empty()) {
        errno = EINVAL;
        return false;
    }
    // What could not be read back is not written.
    if (bytes.size() > max_property_list_file_size) {
        errno = EFBIG;
        return false;
    }
    auto lock = FileLock::acquire(device_path);
    return lock && replace_file_atomically(device_path, bytes, *lock);
}

} // namespace platform::foundation
