#include "sim/cli/IconFile.h"

#include "sim/cli/RegularFile.h"

namespace zimtone::cli {

platform::foundation::Result<platform::runtime::Ref<platform::uikit::UIImage>>
read_icon_file(const std::string& path) {
    using platform::foundation::Failure;
    if (auto problem = regular_file_problem(path))
        return Failure{*problem};
    // The decoder refuses anything but a regular file too, should the path change meanwhile.
    auto image = platform::uikit::UIImage::imageWithHostFile(path);
    if (!image)
        return Failure{"cannot read " + path + " as a PNG image"};
    return image;
}

} // namespace zimtone::cli
