// The Darwin notify centre: notification names posted in any process reach the observers of
// that name in every process, on each process's main run loop.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::foundation {

// Notification names are plain UTF-8 C strings here, not string objects: a Darwin notification
// carries nothing but its name, so no object crosses a process boundary or needs freeing.
using CFStringRef = const char*;
// Darwin notifications carry no user information; callbacks always receive null.
using CFDictionaryRef = const void*;

struct NotificationCenter_;
using CFNotificationCenterRef = NotificationCenter_*;

typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void* observer, CFStringRef name,
                                       const void* object, CFDictionaryRef userInfo);

// Accepted for the platform's signature; Darwin notifications are always delivered.
enum CFNotificationSuspensionBehavior : long {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// The one centre of the process.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Registers callback for name. The first registration binds this process's socket and makes it
// a source of the main run loop. The same observer, callback and name registered twice count
// once. A name must be printable ASCII of at most 1019 bytes; other names are refused with a
// line on stderr, as are a null callback and a centre other than the Darwin one.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void* object,
                                     CFNotificationSuspensionBehavior behaviour);

// Sends name to every observing process, this one included. object and userInfo are not sent
// (observers receive null) and delivery is always immediate, so deliverImmediately changes nothing.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
                                          const void* object, CFDictionaryRef userInfo,
                                          bool deliverImmediately);

// CFNotificationCenterPostNotification for a caller that wants the outcome: how many processes
// received the name, or nullopt when it is invalid or the notification directory cannot be used
// (both reported on stderr).
std::optional<size_t> notify_post(CFStringRef name);

// Whether this process's socket is bound, so that notifications can reach its observers.
bool notify_listening();

// The names this process observes, one per registration, in registration order.
std::vector<std::string> notify_observed_names();

// The receive path for one raw datagram, as if it had arrived on this process's socket: a
// well-formed one is delivered to the observers of its name at once, on the calling thread,
// anything else is dropped. Answers whether the datagram was well-formed.
bool notify_handle_datagram(const char* data, size_t size);

// Removes this process's socket so that no process sends to it any more. Async-signal-safe;
// hosts call it from their signal handling, and it runs by itself at normal exit.
void notify_shutdown();

} // namespace platform::foundation
