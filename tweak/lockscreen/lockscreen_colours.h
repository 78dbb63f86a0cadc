// The lock screen's colour decisions, free of any host: cell colour, gradient colour, cycling
// colours and the automatic text colour.
#pragma once

#include <cstdint>
#include <optional>

#include "colour/Colour.h"
#include "colour/adjustments.h"
#include "tweak/AppTint.h"

namespace zimtone::tweak::lockscreen {

using zimtone::colour::Colour;

// What a cell's colour depends on: the app's tint and the lock-screen opacity.
struct CellInputs : AppTintInputs {
    double alpha{1.0};
};

// The cell background: the app's tint, then the lock-screen opacity. nullopt is "no colour": an
// undecodable per-app entry without the saturation step stays absent.
std::optional<Colour> cell_colour(const CellInputs& in);

// Only the first notification (section 0, row 0) feeds the gradient, and only with the effect on.
bool row_sets_gradient(int64_t section, int64_t row, bool tavo_effect);

// The cycling gradient colour: three draws at the lock-screen opacity, never saturated.
Colour cycling_gradient_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha);

// The automatic text colour: always from the icon, opaque.
Colour text_colour(const Colour& dominant);

} // namespace zimtone::tweak::lockscreen
