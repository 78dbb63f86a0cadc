#include "platform/uikit/keyboard/UIKBRenderConfig.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
Ref<Object> default_config_message(Object*) {
    return UIKBRenderConfig::defaultConfig();
}
} // namespace

Class UIKBRenderConfig::runtime_class() {
    static Class cls = ClassBuilder<UIKBRenderConfig>("UIKBRenderConfig", NSObject::runtime_class())
                           .method<&UIKBRenderConfig::lightKeyboard>("lightKeyboard")
                           .method<&UIKBRenderConfig::setLightKeyboard>("setLightKeyboard:")
                           .class_method<&default_config_message>("defaultConfig")
                           .class_method<&UIKBRenderConfig::backdropStyleForStyle>("backdropStyleForStyle:")
                           .get();
    return cls;
}

Ref<UIKBRenderConfig> UIKBRenderConfig::defaultConfig() {
    return make_object<UIKBRenderConfig>();
}

int64_t UIKBRenderConfig::backdropStyleForStyle(Object*, int64_t style) {
    return style;
}

Ref<UIColor> UIKBRenderConfig::background_colour(bool light) {
    return light ? UIColor::colorWithRGBA(0.82, 0.835, 0.86, 1.0)
                 : UIColor::colorWithRGBA(0.12, 0.12, 0.13, 1.0);
}

Ref<UIColor> UIKBRenderConfig::key_face_colour(bool light) {
    return light ? UIColor::whiteColor() : UIColor::colorWithRGBA(0.35, 0.35, 0.37, 1.0);
}

Ref<UIColor> UIKBRenderConfig::key_text_colour(bool light) {
    return light ? UIColor::blackColor() : UIColor::whiteColor();
}

Ref<UIColor> UIKBRenderConfig::prediction_text_colour(bool light) {
    return light ? UIColor::colorWithRGBA(0.2, 0.2, 0.2, 1.0) : UIColor::colorWithRGBA(0.9, 0.9, 0.9, 1.0);
}

bool keyboard_is_light() {
    auto config = msg<Ref<Object>>(UIKBRenderConfig::runtime_class(), "defaultConfig"_sel);
    return msg<bool>(config, "lightKeyboard"_sel);
}

int64_t keyboard_backdrop_style() {
    auto config = msg<Ref<UIKBRenderConfig>>(UIKBRenderConfig::runtime_class(), "defaultConfig"_sel);
    int64_t requested = config ? config->requested_backdrop_style() : kKeyboardBackdropStyleLight;
    return msg<int64_t>(UIKBRenderConfig::runtime_class(), "backdropStyleForStyle:"_sel, requested);
}

} // namespace platform::uikit
