// The RGB colour value that every part of the colour engine passes around.
#pragma once

namespace zimtone::colour {

// An RGB colour with alpha. Components are nominally 0..1 but are not clamped: a decoded hex
// colour may exceed 1.0 and must survive unchanged into the places that use it.
struct Colour {
    double red{0};
    double green{0};
    double blue{0};
    double alpha{1};

    friend constexpr bool operator==(const Colour&, const Colour&) = default;

    static constexpr Colour opaqueBlack() { return {0, 0, 0, 1}; }
    static constexpr Colour opaqueWhite() { return {1, 1, 1, 1}; }
};

} // namespace zimtone::colour
