#include "sim/cli/IconFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace zimtone::cli {

platform::runtime::Ref<platform::uikit::UIImage> read_icon_file(const std::string& path, std::string* error) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = path + " is not a regular file";
        return nullptr;
    }
    // The decoder refuses anything but a regular file too, should the path change meanwhile.
    auto image = platform::uikit::UIImage::imageWithHostFile(path);
    if (!image)
        *error = "cannot read " + path + " as a PNG image";
    return image;
}

} // namespace zimtone::cli
