#include "tweak/quickreply/CyclingTimer.h"

#include "tweak/CyclingColour.h"

namespace zimtone::tweak::quickreply {

using namespace platform::runtime;

namespace {

// Receives the timer's ticks; the view it serves is not retained.
class CyclingRelay : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<CyclingRelay>("ZimtoneCyclingRelay", NSObject::runtime_class())
                               .method<&CyclingRelay::tick>("changeBackgroundColor")
                               .get();
        return cls;
    }
    void tick() { msg(view, "changeBackgroundColor"_sel); }
    Object* view{nullptr};
};

// Owned by the view; its end stops the timer, so the relay never reaches a dead view.
class CyclingGuard : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<CyclingGuard>("ZimtoneCyclingGuard", NSObject::runtime_class()).get();
        return cls;
    }
    void will_dealloc() override {
        if (auto* r = dynamic_cast<CyclingRelay*>(relay.get()))
            r->view = nullptr;
        msg(timer, "invalidate"_sel);
    }
    Ref<Object> timer;
    Ref<Object> relay;
};

// The key of the guard among the view's associated objects.
const char kGuardKey = 0;

} // namespace

Ref<Object> start_cycling(Object* view) {
    if (!view)
        return nullptr;
    auto relay = make_object<CyclingRelay>();
    relay->view = view;
    auto timer = schedule_cycling_timer(relay.get(), "changeBackgroundColor"_sel);
    auto guard = make_object<CyclingGuard>();
    guard->timer = timer;
    guard->relay = relay;
    // A view cycles with one timer: a guard put in place of an earlier one stops that one's timer.
    objc_setAssociatedObject(view, &kGuardKey, guard, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    return timer;
}

} // namespace zimtone::tweak::quickreply
