// Reading property-list files under the device root, and replacing them atomically.
#include "platform/foundation/PropertyList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSDictionary.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

// Closes a descriptor on every path out, keeping errno as the failure left it.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            int saved = errno;
            ::close(fd_);
            errno = saved;
        }
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded, since a failed close can lose written data.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

// The whole content of a regular file of at most `limit` bytes. Opening does not wait on a fifo,
// and a file that grows past the limit while being read is refused as well.
std::optional<std::string> read_small_regular_file(const std::filesystem::path& path, size_t limit) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<uint64_t>(info.st_size) > limit)
        return std::nullopt;
    std::string content(static_cast<size_t>(info.st_size) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (content.size() > limit)
                return std::nullopt;
            content.resize(std::min(content.size() * 2, limit + 1));
        }
        ssize_t got = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    if (filled > limit)
        return std::nullopt;
    content.resize(filled);
    return content;
}

bool write_all(int fd, const std::string& bytes) {
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

Ref<NSDictionary> read_dictionary_file(const std::string& device_path) {
    auto content = read_small_regular_file(resolve_device_path(device_path), max_property_list_file_size);
    if (!content)
        return nullptr;
    auto root = parse_property_list(content->data(), content->size());
    return Ref<NSDictionary>(dynamic_cast<NSDictionary*>(root.get()));
}

bool write_property_list_file(const std::string& device_path, const Object* root, PlistFormat format) {
    std::string bytes = serialise_property_list(root, format);
    if (bytes.empty()) {
        errno = EINVAL;
        return false;
    }
    auto target = resolve_device_path(device_path);
    if (target == device_root()) {
        errno = EISDIR;
        return false;
    }
    auto directory = target.parent_path();
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        errno = error.value();
        return false;
    }
    std::string temporary = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    auto abandon = [&] {
        int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return false;
    };
    if (::fchmod(fd.get(), 0644) != 0 || !write_all(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        return abandon();
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return abandon();
    flush_directory(directory);
    return true;
}

} // namespace platform::foundation
