// A second process for the cross-process notification tests: it observes one name, writes what
// it receives to stdout and answers with "<name>.ack". SIGTERM makes it remove its socket and end.
// Usage: notify_helper <device-root> <name>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"

using namespace platform::foundation;

namespace {

bool received = false;

void on_notification(CFNotificationCenterRef center, void*, CFStringRef name, const void* object,
                     CFDictionaryRef user_info) {
    std::printf("received %s object=%s userInfo=%s\n", name, object ? "set" : "null",
                user_info ? "set" : "null");
    std::fflush(stdout);
    std::string answer = std::string(name) + ".ack";
    CFNotificationCenterPostNotification(center, answer.c_str(), nullptr, nullptr, true);
    received = true;
}

void on_terminate(int) {
    notify_shutdown();
    _exit(143);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: notify_helper <device-root> <name>\n");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = on_terminate;
    sigaction(SIGTERM, &action, nullptr);

    set_device_root(argv[1]);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, on_notification,
                                    argv[2], nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    std::printf("ready\n");
    std::fflush(stdout);

    if (!RunLoop::main().run_until([] { return received; }, 10.0)) {
        std::printf("timeout\n");
        return 1;
    }
    return 0;
}
