#include "platform/render/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::render {

namespace {

bool fail(std::string* error, const std::string& path, int code) {
    if (error)
        *error = "cannot write " + path + ": " + std::strerror(code);
    return false;
}

} // namespace

bool write_file_atomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    if (path.empty()) {
        if (error)
            *error = "no file name given";
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return fail(error, path, errno);
    // mkstemp makes the file private; a picture is for others to read too.
    fchmod(fd, 0644);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int code = n < 0 ? errno : EIO;
            close(fd);
            unlink(temporary.c_str());
            return fail(error, path, code);
        }
        written += static_cast<size_t>(n);
    }
    if (close(fd) != 0) {
        const int code = errno;
        unlink(temporary.c_str());
        return fail(error, path, code);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int code = errno;
        unlink(temporary.c_str());
        return fail(error, path, code);
    }
    return true;
}

} // namespace platform::render
