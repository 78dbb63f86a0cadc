#include "platform/foundation/Clock.h"

#include <chrono>

namespace platform::foundation {

double Clock::steady_seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double Clock::now() const {
    return is_virtual() ? virtual_now_.load(std::memory_order_acquire) : steady_seconds();
}

void Clock::use_real() {
    virtual_.store(false, std::memory_order_release);
}

void Clock::use_virtual(double start) {
    virtual_now_.store(start, std::memory_order_release);
    virtual_.store(true, std::memory_order_release);
}

void Clock::set_virtual_now(double moment) {
    double current = virtual_now_.load(std::memory_order_acquire);
    while (moment > current && !virtual_now_.compare_exchange_weak(current, moment)) {
    }
}

} // namespace platform::foundation
