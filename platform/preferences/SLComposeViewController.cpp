#include "platform/preferences/SLComposeViewController.h"

namespace platform::preferences {

using namespace platform::runtime;

namespace {
Ref<Object> compose_for_service(Object*, foundation::NSString* service) {
    return service ? SLComposeViewController::composeViewControllerForServiceType(service->str()) : nullptr;
}
bool is_available(Object*, foundation::NSString* service) {
    return service && SLComposeViewController::available_services().count(service->str());
}
} // namespace

Class SLComposeViewController::runtime_class() {
    static Class cls = ClassBuilder<SLComposeViewController>("SLComposeViewController",
                                                             uikit::UIViewController::runtime_class())
                           .class_method<&compose_for_service>("composeViewControllerForServiceType:")
                           .class_method<&is_available>("isAvailableForServiceType:")
                           .method<&SLComposeViewController::setInitialText>("setInitialText:")
                           .method<&SLComposeViewController::addURL>("addURL:")
                           .method<&SLComposeViewController::addImage>("addImage:")
                           .get();
    return cls;
}

std::set<std::string>& SLComposeViewController::available_services() {
    static std::set<std::string> services;
    return services;
}

Ref<SLComposeViewController>
SLComposeViewController::composeViewControllerForServiceType(const std::string& service) {
    if (!available_services().count(service))
        return nullptr;
    auto sheet = make_object<SLComposeViewController>();
    sheet->service_ = service;
    return sheet;
}

bool SLComposeViewController::setInitialText(foundation::NSString* text) {
    text_ = text ? text->str() : "";
    return true;
}

bool SLComposeViewController::addURL(foundation::NSURL* url) {
    if (!url)
        return false;
    urls_.push_back(url->absolute_string());
    return true;
}

bool SLComposeViewController::addImage(uikit::UIImage* image) {
    if (!image)
        return false;
    images_.emplace_back(image);
    return true;
}

} // namespace platform::preferences
