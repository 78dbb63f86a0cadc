// Darwin notification latency between two processes: this one posts a ping, a forked child that
// observes it answers with a pong, and the time until the pong's callback runs here is one round
// trip (two post-to-callback deliveries).
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "bench/BenchDevice.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"

using namespace platform::foundation;

namespace {

const std::string kPing = "bench.notify." + std::to_string(getpid()) + ".ping";
const std::string kPong = "bench.notify." + std::to_string(getpid()) + ".pong";
constexpr double kWait = 2.0;

long pongs = 0;

void answer_ping(CFNotificationCenterRef center, void*, CFStringRef, const void*, CFDictionaryRef) {
    CFNotificationCenterPostNotification(center, kPong.c_str(), nullptr, nullptr, true);
}

void count_pong(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    ++pongs;
}

// The answering process: observes the ping on its own main run loop until it is killed.
[[noreturn]] void run_answerer() {
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, answer_ping,
                                    kPing.c_str(), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    RunLoop::main().use_real_clock();
    RunLoop::main().run();
    _exit(0);
}

bool round_trip() {
    const long expected = pongs + 1;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), kPing.c_str(), nullptr,
                                         nullptr, true);
    return RunLoop::main().run_until([&] { return pongs >= expected; }, kWait);
}

// The device and the answering child, made once: the child must be forked before this process
// has a notification socket, and the benchmark calls its function several times.
struct Answerer {
    Answerer() {
        child = fork();
        if (child == 0)
            run_answerer();
        if (child < 0)
            return;
        RunLoop::main().use_real_clock();
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, count_pong,
                                        kPong.c_str(), nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
        // The child is ready once it answers; pings sent before it bound its socket are lost.
        for (int attempt = 0; attempt < 100 && !ready; ++attempt) {
            CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), kPing.c_str(),
                                                 nullptr, nullptr, true);
            ready = RunLoop::main().run_until([] { return pongs > 0; }, 0.05);
        }
        RunLoop::main().run_for(0.05); // drain the answers to the extra pings
    }
    ~Answerer() {
        if (child > 0) {
            kill(child, SIGTERM);
            waitpid(child, nullptr, 0);
        }
    }
    zimtone::bench::BenchDevice device;
    pid_t child{-1};
    bool ready{false};
};

void BM_NotifyRoundTrip(benchmark::State& state) {
    static Answerer answerer;
    if (!answerer.ready) {
        state.SkipWithError("the answering process never answered");
        return;
    }
    for (auto _ : state)
        if (!round_trip()) {
            state.SkipWithError("a ping went unanswered");
            break;
        }
}
BENCHMARK(BM_NotifyRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
