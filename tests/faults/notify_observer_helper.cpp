// An observing process for the notification fault tests: it observes one name and prints
// "received N" for the Nth delivery, until it is terminated.
// Usage: notify_observer_helper <device-root> <name>
#include <cstdio>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"

using namespace platform::foundation;

namespace {

int received = 0;

void on_notification(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    std::printf("received %d\n", ++received);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: notify_observer_helper <device-root> <name>\n");
        return 2;
    }
    set_device_root(argv[1]);
    RunLoop::main().use_real_clock();
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, on_notification,
                                    argv[2], nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    std::printf("ready\n");
    std::fflush(stdout);
    RunLoop::main().run();
    return 0;
}
