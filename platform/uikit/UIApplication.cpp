#include "platform/uikit/UIApplication.h"

#include <algorithm>
#include <cctype>

namespace platform::uikit {

using namespace platform::runtime;

namespace {
Ref<Object> sharedApplication(Object*) {
    return Ref<Object>(&UIApplication::shared());
}

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
} // namespace

Class UIApplication::runtime_class() {
    static Class cls = ClassBuilder<UIApplication>("UIApplication", NSObject::runtime_class())
                           .method<&UIApplication::canOpenURL>("canOpenURL:")
                           .method<&UIApplication::openURL>("openURL:")
                           .method<&UIApplication::relaunchSpringBoardNow>("_relaunchSpringBoardNow")
                           .class_method<&sharedApplication>("sharedApplication")
                           .get();
    return cls;
}

UIApplication& UIApplication::shared() {
    static UIApplication* application = make_object<UIApplication>().leak(); // lives as long as the process
    return *application;
}

bool UIApplication::canOpenURL(const foundation::NSURL* url) const {
    return url && installed_url_schemes.contains(lower_case(url->scheme_name()));
}

bool UIApplication::openURL(const foundation::NSURL* url) {
    if (!canOpenURL(url))
        return false;
    opened_urls.push_back(url->absolute_string());
    return true;
}

void UIApplication::relaunchSpringBoardNow() {
    if (on_relaunch_springboard)
        on_relaunch_springboard();
}

} // namespace platform::uikit
