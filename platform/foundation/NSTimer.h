// NSTimer: a runtime object that sends an action to a target from the main run loop.
#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Ref;
using platform::runtime::SEL;

// A timer scheduled on the main run loop. Firing sends the action selector to the target with
// no argument. While scheduled, the run loop retains the timer and the timer retains its target
// and user info; invalidating it (or the firing of a one-shot timer) lets both go.
// Dates are seconds on the main run loop's clock.
class NSTimer : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSTimer> schedule(double interval, runtime::Object* target, SEL action, Repeats repeats,
                                 runtime::Object* user_info = nullptr);

    void invalidate();
    bool isValid() const { return valid_; }
    // The interval of a repeating timer; 0 for a one-shot timer, as on the device.
    double timeInterval() const { return repeats_ == Repeats::Yes ? interval_ : 0.0; }
    // The next fire date while valid; the last one it had once invalidated.
    double fireDate() const;
    runtime::Object* userInfo() const { return user_info_.get(); }
    runtime::Object* target() const { return target_.get(); }

  private:
    void fire();

    Ref<runtime::Object> target_;
    Ref<runtime::Object> user_info_;
    SEL action_{nullptr};
    double interval_{0.0};
    Repeats repeats_{Repeats::No};
    TimerId timer_id_{0};
    double last_fire_date_{0.0};
    bool valid_{false};
};

} // namespace platform::foundation
