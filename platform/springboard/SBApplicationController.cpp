#include "platform/springboard/SBApplicationController.h"

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSString.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
Ref<Object> sharedInstance(Object*) {
    return Ref<Object>(&SBApplicationController::shared());
}
} // namespace

Class SBApplicationController::runtime_class() {
    static Class cls =
        ClassBuilder<SBApplicationController>("SBApplicationController", NSObject::runtime_class())
            .method<&SBApplicationController::allBundleIdentifiers>("allBundleIdentifiers")
            .class_method<&sharedInstance>("sharedInstance")
            .get();
    return cls;
}

SBApplicationController& SBApplicationController::shared() {
    static auto* controller = make_object<SBApplicationController>().leak(); // lives as long as the process
    return *controller;
}

Ref<foundation::NSArray> SBApplicationController::allBundleIdentifiers() const {
    std::vector<Ref<Object>> identifiers;
    for (const auto& app : applist::ALApplicationList::sharedApplicationList()->apps())
        identifiers.emplace_back(foundation::ns(app.bundle_identifier));
    return foundation::NSArray::create(std::move(identifiers));
}

} // namespace platform::springboard
