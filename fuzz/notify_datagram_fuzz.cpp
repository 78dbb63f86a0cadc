// Arbitrary bytes through the notification receive path, as if they had arrived on this
// process's socket. A datagram is either dropped or delivered to the observers of exactly the
// name it carries, and the name reaches the callback as a printable NUL-terminated string.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"

using namespace platform::foundation;

namespace {

constexpr const char* kObserved = "fuzz.observed";
int deliveries = 0;

void on_notification(CFNotificationCenterRef, void*, CFStringRef name, const void* object,
                     CFDictionaryRef info) {
    if (!name || std::strcmp(name, kObserved) != 0 || object || info)
        std::abort();
    ++deliveries;
}

void set_up_once() {
    static bool done = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        set_device_root(pattern);
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, on_notification,
                                        kObserved, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
        return true;
    }();
    (void)done;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    set_up_once();
    const int before = deliveries;
    const auto* bytes = reinterpret_cast<const char*>(data);
    bool well_formed = notify_handle_datagram(bytes, size);
    std::string_view datagram(bytes, size);
    // A well-formed datagram is a five-byte prefix and the name.
    bool for_observed = datagram.ends_with(kObserved) && datagram.size() == std::strlen(kObserved) + 5;
    if (deliveries - before != (well_formed && for_observed ? 1 : 0))
        std::abort();
    return 0;
}
