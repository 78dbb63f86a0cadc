#include "tweak/CyclingColour.h"

#include "colour/adjustments.h"
#include "colour/random_channel.h"
#include "platform/foundation/Random.h"

namespace zimtone::tweak {

using namespace platform::runtime;

CyclingDraws draw_cycling_channels() {
    CyclingDraws draws;
    draws.red = platform::foundation::arc4random();
    draws.green = platform::foundation::arc4random();
    draws.blue = platform::foundation::arc4random();
    return draws;
}

colour::Colour cycling_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha,
                              bool allow_saturation, double saturation) {
    using namespace zimtone::colour;
    Colour c{randomChannel(red), randomChannel(green), randomChannel(blue), alpha};
    return allow_saturation ? modifySaturationWith(c, saturation) : c;
}

colour::Colour next_cycling_colour(double alpha, bool allow_saturation, double saturation) {
    auto [red, green, blue] = draw_cycling_channels();
    return cycling_colour(red, green, blue, alpha, allow_saturation, saturation);
}

Ref<Object> schedule_cycling_timer(Object* target, SEL action) {
    Object* no_info = nullptr;
    return msg<Ref<Object>>(objc_getClass("NSTimer"),
                            "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:"_sel,
                            kCyclingInterval, target, action, no_info, true);
}

} // namespace zimtone::tweak
