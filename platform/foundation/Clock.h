// The time source of a run loop, in seconds: the steady clock, or a virtual one that tests move.
#pragma once

#include <atomic>

namespace platform::foundation {

// Seconds as a double. A real clock follows the system's steady clock; a virtual clock stands
// still until told to move, so tests decide exactly when time passes. Readable from any thread.
class Clock {
  public:
    // Seconds of the steady clock, whatever mode a clock is in (bounds on real waiting).
    static double steady_seconds();

    double now() const;
    bool is_virtual() const { return virtual_.load(std::memory_order_acquire); }

    void use_real();
    void use_virtual(double start);
    // Moves virtual time to the given moment; time never runs backwards.
    void set_virtual_now(double moment);

  private:
    std::atomic<bool> virtual_{false};
    std::atomic<double> virtual_now_{0.0};
};

} // namespace platform::foundation
