#include "platform/uikit/UIImage.h"

#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/png_codec.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
Ref<Object> imageWithContentsOfFileMessage(Object*, Object* path) {
    auto* p = foundation::string_of(path);
    return p ? Ref<Object>(UIImage::imageWithContentsOfFile(*p)) : nullptr;
}
} // namespace

Class UIImage::runtime_class() {
    static Class cls = ClassBuilder<UIImage>("UIImage", NSObject::runtime_class())
                           .method<&UIImage::size>("size")
                           .method<&UIImage::scale>("scale")
                           .class_method<&imageWithContentsOfFileMessage>("imageWithContentsOfFile:")
                           .get();
    return cls;
}

double UIImage::scale_for_file_name(const std::string& path) {
    auto stem = std::filesystem::path(path).stem().string();
    if (stem.ends_with("@2x"))
        return 2;
    if (stem.ends_with("@3x"))
        return 3;
    return 1;
}

Ref<UIImage> UIImage::imageWithHostFile(const std::string& path) {
    auto decoded = decodePng(path, scale_for_file_name(path));
    return decoded ? withImage(std::move(*decoded)) : nullptr;
}

Ref<UIImage> UIImage::imageWithContentsOfFile(const std::string& device_path) {
    return imageWithHostFile(foundation::resolve_device_path(device_path).string());
}

Ref<UIImage> UIImage::withImage(zimtone::colour::Image image) {
    auto img = make_object<UIImage>();
    img->image_ = std::make_shared<const zimtone::colour::Image>(std::move(image));
    return img;
}

} // namespace platform::uikit
