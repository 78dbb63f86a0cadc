#include "platform/foundation/NSBundle.h"

#include <mutex>

namespace platform::foundation {

using namespace platform::runtime;

namespace {
std::mutex lock;
std::string& identifier_storage() {
    static auto* id = new std::string;
    return *id;
}
Ref<Object> mainBundleMessage(Object*) {
    return NSBundle::mainBundle();
}
} // namespace

Class NSBundle::runtime_class() {
    static Class cls = ClassBuilder<NSBundle>("NSBundle", NSObject::runtime_class())
                           .method<&NSBundle::bundleIdentifier>("bundleIdentifier")
                           .class_method<&mainBundleMessage>("mainBundle")
                           .get();
    return cls;
}

Ref<NSBundle> NSBundle::mainBundle() {
    static auto* bundle = make_object<NSBundle>().leak(); // lives as long as the process
    return Ref<NSBundle>(bundle);
}

void NSBundle::set_main_bundle_identifier(std::string identifier) {
    std::lock_guard guard(lock);
    identifier_storage() = std::move(identifier);
}

Ref<NSString> NSBundle::bundleIdentifier() const {
    std::lock_guard guard(lock);
    return identifier_storage().empty() ? nullptr : ns(identifier_storage());
}

} // namespace platform::foundation
