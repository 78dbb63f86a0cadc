// Bitmap images with a point size and a scale; "name@2x.png" and "name@3x.png" load at scale 2 and 3.
#pragma once

#include <memory>
#include <string>

#include "colour/Image.h"
#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using platform::runtime::Class;
using platform::runtime::Ref;

class UIImage : public runtime::NSObject {
  public:
    static Class runtime_class();
    // A host file path; nil for a file that is missing or not a PNG.
    static Ref<UIImage> imageWithHostFile(const std::string& path);
    // A device path, resolved under the device root.
    static Ref<UIImage> imageWithContentsOfFile(const std::string& device_path);
    static Ref<UIImage> withImage(zimtone::colour::Image image);
    // The scale a file name implies: 2 for "name@2x.png", 3 for "name@3x.png", else 1.
    static double scale_for_file_name(const std::string& path);

    UIImage() = default;

    const zimtone::colour::Image& image() const { return *image_; }
    foundation::CGSize size() const { return {image_->width, image_->height}; }
    double scale() const { return image_->scale; }

  private:
    std::shared_ptr<const zimtone::colour::Image> image_{std::make_shared<zimtone::colour::Image>()};
};

} // namespace platform::uikit
