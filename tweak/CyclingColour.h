// Colour cycling, shared by every surface: the timer's interval and its scheduling, the random
// draws of a tick, and the colour they make: each channel its draw's low byte over 256, at the
// surface's opacity, with the saturation step when the surface allows it.
#pragma once

#include <cstdint>

#include "colour/Colour.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak {

// Every cycling timer fires this often, in seconds.
inline constexpr double kCyclingInterval = 0.5;

// One tick's draws from arc4random: red, green and blue, drawn in that order.
struct CyclingDraws {
    uint32_t red{0};
    uint32_t green{0};
    uint32_t blue{0};
};
CyclingDraws draw_cycling_channels();

colour::Colour cycling_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha,
                              bool allow_saturation, double saturation);
// A new tick's colour: fresh draws through the rule above.
colour::Colour next_cycling_colour(double alpha, bool allow_saturation, double saturation);

// Schedules a repeating timer on the current run loop that sends `action` to `target` every
// interval, and answers it; the timer retains its target, the caller keeps the timer to stop it.
platform::runtime::Ref<platform::runtime::Object> schedule_cycling_timer(platform::runtime::Object* target,
                                                                         platform::runtime::SEL action);

} // namespace zimtone::tweak
