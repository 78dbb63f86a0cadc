#include "colour/bridge/HexColors.h"

#include "colour/hex_codec.h"

namespace zimtone::colour::bridge {

using namespace platform::runtime;

Ref<UIColor> colorWithHexString(const Object* string) {
    auto* s = platform::foundation::string_of(string);
    if (!s)
        return nullptr;
    auto colour = colour::colorWithHexString(*s);
    return colour ? UIColor::with(*colour) : nullptr;
}

Ref<NSString> hexValuesFromUIColor(const Object* colour) {
    auto* c = platform::uikit::colour_of(colour);
    if (!c)
        return nullptr;
    if (c == UIColor::whiteColor().get())
        return platform::foundation::ns("ffffff");
    return platform::foundation::ns(colour::hexValuesFromColour(c->colour()));
}

namespace {
Ref<Object> colorWithHexStringMessage(Object*, SEL, Object* string) {
    return colorWithHexString(string);
}
Ref<Object> hexValuesFromUIColorMessage(Object*, SEL, Object* colour) {
    return hexValuesFromUIColor(colour);
}
} // namespace

void install_hex_colors_category() {
    Class meta = object_getClass(UIColor::runtime_class());
    class_addMethod(meta, "colorWithHexString:"_sel, imp_cast(&colorWithHexStringMessage), "@@:@");
    class_addMethod(meta, "hexValuesFromUIColor:"_sel, imp_cast(&hexValuesFromUIColorMessage), "@@:@");
}

} // namespace zimtone::colour::bridge
