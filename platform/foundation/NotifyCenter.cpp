#include "platform/foundation/NotifyCenter.h"

#include <mutex>
#include <optional>
#include <string_view>

#include "platform/foundation/NotifyTransport.h"
#include "platform/foundation/RunLoop.h"

namespace platform::foundation {

namespace {
constexpr const char* kSocketDirectory = "/var/run/zimtone-notify";

struct Observation {
    const void* observer;
    CFNotificationCallback callback;
    std::string name;
};
} // namespace

// The observers of this process and its transport. Posts may come from any thread, so both
// are guarded; callbacks run without the lock, so they may observe and post in turn.
struct NotificationCenter_ {
    std::mutex lock;
    std::vector<Observation> observations;
    std::optional<NotifyTransport> transport; // made on first use, when the main run loop exists
    NotifyTransport& transport_locked();
};

namespace {

void deliver_pending() {
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::vector<std::string> datagrams;
    {
        std::lock_guard guard(center->lock);
        datagrams = center->transport_locked().receive_pending();
    }
    for (const std::string& datagram : datagrams)
        notify_handle_datagram(datagram.data(), datagram.size());
}

// The socket directory changed under a listening process (removed, or a socket taken out of
// it): check it again, which makes it anew and binds this process's socket again if need be.
void recheck_directory() {
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::lock_guard guard(center->lock);
    NotifyTransport& transport = center->transport_locked();
    transport.drain_directory_events();
    transport.listen();
}

bool is_darwin_center(CFNotificationCenterRef center, const char* operation) {
    if (center == CFNotificationCenterGetDarwinNotifyCenter())
        return true;
    notify_report("only the Darwin notify centre is supported; call ignored", operation);
    return false;
}

} // namespace

NotifyTransport& NotificationCenter_::transport_locked() {
    if (!transport)
        transport.emplace(kSocketDirectory, RunLoop::main(), &deliver_pending, &recheck_directory);
    return *transport;
}

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    static auto* center = new NotificationCenter_; // lives as long as the process, exit included
    return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
    if (!is_darwin_center(center, "CFNotificationCenterAddObserver"))
        return;
    if (!callback) {
        notify_report("an observer without a callback was ignored");
        return;
    }
    if (!name || !is_valid_notification_name(name)) {
        notify_report("an observer of an invalid notification name was ignored");
        return;
    }
    std::lock_guard guard(center->lock);
    bool known = false;
    for (const Observation& o : center->observations)
        known = known || (o.observer == observer && o.callback == callback && o.name == name);
    if (!known)
        center->observations.push_back({observer, callback, name});
    center->transport_locked().listen();
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void*,
                                          CFDictionaryRef, bool) {
    if (is_darwin_center(center, "CFNotificationCenterPostNotification"))
        notify_post(name);
}

std::optional<size_t> notify_post(CFStringRef name) {
    auto datagram = name ? encode_notification(name) : std::nullopt;
    if (!datagram) {
        notify_report("a post of an invalid notification name was ignored");
        return std::nullopt;
    }
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::lock_guard guard(center->lock);
    return center->transport_locked().send_to_all(*datagram);
}

bool notify_listening() {
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::lock_guard guard(center->lock);
    return center->transport_locked().bound();
}

std::vector<std::string> notify_observed_names() {
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::lock_guard guard(center->lock);
    std::vector<std::string> names;
    for (const Observation& o : center->observations)
        names.push_back(o.name);
    return names;
}

bool notify_handle_datagram(const char* data, size_t size) {
    if (!data)
        return false;
    auto decoded = decode_notification(std::string_view(data, size));
    if (!decoded)
        return false;
    std::string name(*decoded); // NUL-terminated for the callbacks

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::vector<Observation> receivers;
    {
        std::lock_guard guard(center->lock);
        for (const Observation& o : center->observations)
            if (o.name == name)
                receivers.push_back(o);
    }
    for (const Observation& o : receivers)
        o.callback(center, const_cast<void*>(o.observer), name.c_str(), nullptr, nullptr);
    return true;
}

void notify_shutdown() {
    NotifyTransport::unlink_own_socket();
}

} // namespace platform::foundation
