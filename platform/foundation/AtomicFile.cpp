// Atomic replacement of a file through a flushed temporary beside it, and the sweep of temporaries
// that writers killed mid-write left behind.
#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/foundation/Descriptor.h"
#include "platform/foundation/DevicePaths.h"

namespace platform::foundation {

namespace {

constexpr std::string_view kTemporarySuffix = "XXXXXX";

std::string temporary_prefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

// A name mkostemp could have made from the prefix: the prefix and six letters or digits.
bool is_temporary_name(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kTemporarySuffix.size() || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Only regular files and links are unlinked; a folder of that name is not ours and stays.
void remove_stale_temporaries(const std::filesystem::path& target) {
    const std::string prefix = temporary_prefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error))
        if (is_temporary_name(it->path().filename().string(), prefix))
            ::unlink(it->path().c_str());
}

bool write_all(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        if (put == 0) {
            errno = EIO;
            return false;
        }
        written += static_cast<size_t>(put);
    }
    return true;
}

// The rename is already visible when this runs; a directory that cannot be flushed (some file
// systems refuse) does not undo it, so the result is not a failure of the write.
void flush_directory(const std::filesystem::path& directory) {
    Descriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

} // namespace

bool write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
    if (!path.has_filename()) {
        errno = EISDIR;
        return false;
    }
    // A bare file name lives in the working folder; the folder is flushed by that name too.
    auto directory = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string temporary = (directory / (temporary_prefix(path) + std::string(kTemporarySuffix))).string();
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    auto abandon = [&] {
        int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return false;
    };
    // mkostemp makes the file private; what is written here is for others to read too.
    if (::fchmod(fd.get(), 0644) != 0 || !write_all(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        return abandon();
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return abandon();
    flush_directory(directory);
    return true;
}

Result<void> write_file_atomically(const std::string& path, std::span<const uint8_t> bytes) {
    if (path.empty())
        return Failure{"no file name given"};
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (write_file_atomically(std::filesystem::path(path), text))
        return {};
    const int code = errno;
    return Failure{"cannot write " + path + ": " + std::generic_category().message(code)};
}

bool replace_file_atomically(const std::string& device_path, std::string_view bytes, const FileLock&) {
    auto target = resolve_device_path(device_path);
    if (target == device_root()) {
        errno = EISDIR;
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        errno = error.value();
        return false;
    }
    remove_stale_temporaries(target);
    return write_file_atomically(target, bytes);
}

} // namespace platform::foundation
