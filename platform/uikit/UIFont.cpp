#include "platform/uikit/UIFont.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
// A nil name gives no font, as on the device.
Ref<Object> fontWithNameMessage(Object*, Object* name, double size) {
    auto* n = foundation::string_of(name);
    return n ? Ref<Object>(UIFont::fontWithName(*n, size)) : nullptr;
}
Ref<Object> systemFontMessage(Object*, double size) {
    return UIFont::systemFontOfSize(size);
}
} // namespace

Class UIFont::runtime_class() {
    static Class cls = ClassBuilder<UIFont>("UIFont", NSObject::runtime_class())
                           .method<&UIFont::fontName>("fontName")
                           .method<&UIFont::pointSize>("pointSize")
                           .class_method<&fontWithNameMessage>("fontWithName:size:")
                           .class_method<&systemFontMessage>("systemFontOfSize:")
                           .get();
    return cls;
}

Ref<UIFont> UIFont::fontWithName(std::string name, double size) {
    auto font = make_object<UIFont>();
    font->name_ = std::move(name);
    font->size_ = size;
    return font;
}

Ref<UIFont> UIFont::systemFontOfSize(double size) {
    return fontWithName(system_font_name, size);
}

Ref<foundation::NSString> UIFont::fontName() const {
    return foundation::ns(name_);
}

} // namespace platform::uikit
