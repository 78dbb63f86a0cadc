#include "platform/foundation/NSTimer.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {
Ref<NSTimer> scheduled_timer(Object*, double interval, Object* target, SEL action, Object* user_info,
                             bool repeats) {
    return NSTimer::schedule(interval, target, action, repeats ? Repeats::Yes : Repeats::No, user_info);
}
} // namespace

Class NSTimer::runtime_class() {
    static Class cls = ClassBuilder<NSTimer>("NSTimer", NSObject::runtime_class())
                           .class_method<&scheduled_timer>(
                               "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:")
                           .method<&NSTimer::invalidate>("invalidate")
                           .method<&NSTimer::isValid>("isValid")
                           .method<&NSTimer::timeInterval>("timeInterval")
                           .method<&NSTimer::fireDate>("fireDate")
                           .method<&NSTimer::userInfo>("userInfo")
                           .get();
    return cls;
}

Ref<NSTimer> NSTimer::schedule(double interval, Object* target, SEL action, Repeats repeats,
                               Object* user_info) {
    auto timer = make_object<NSTimer>();
    RunLoop& loop = RunLoop::main();
    timer->target_ = target;
    timer->user_info_ = user_info;
    timer->action_ = action;
    timer->repeats_ = repeats;
    timer->interval_ = interval >= RunLoop::kMinimumInterval ? interval : RunLoop::kMinimumInterval;
    timer->valid_ = true;
    NSTimer* raw = timer.get(); // the loop's holder reference keeps it alive while scheduled
    timer->timer_id_ = loop.add_timer(timer->interval_, repeats, [raw] { raw->fire(); },
                                      {Ref<Object>(timer.get()), Ref<Object>(target)});
    timer->last_fire_date_ = loop.fire_date(timer->timer_id_).value_or(loop.now());
    return timer;
}

void NSTimer::fire() {
    if (!valid_)
        return;
    Ref<Object> target = target_; // the action may invalidate this timer and drop its reference
    msg<void>(target.get(), action_);
    if (repeats_ == Repeats::No)
        invalidate();
}

double NSTimer::fireDate() const {
    if (!valid_)
        return last_fire_date_;
    return RunLoop::main().fire_date(timer_id_).value_or(last_fire_date_);
}

void NSTimer::invalidate() {
    if (!valid_)
        return;
    last_fire_date_ = fireDate();
    valid_ = false;
    Ref<NSTimer> keep(this); // cancelling drops the loop's reference, which may be the last
    RunLoop::main().cancel_timer(timer_id_);
    target_ = nullptr;
    user_info_ = nullptr;
}

} // namespace platform::foundation
