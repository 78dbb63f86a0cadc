#include "sim/cli/IconFile.h"

#include "sim/cli/RegularFile.h"

namespace zimtone::cli {

platform::runtime::Ref<platform::uikit::UIImage> read_icon_file(const std::string& path, std::string* error) {
    if (auto problem = regular_file_problem(path)) {
        *error = *problem;
        return nullptr;
    }
    // The decoder refuses anything but a regular file too, should the path change meanwhile.
    auto image = platform::uikit::UIImage::imageWithHostFile(path);
    if (!image)
        *error = "cannot read " + path + " as a PNG image";
    return image;
}

} // namespace zimtone::cli
