// Drawing small view trees in tests and reading their pixels back.
#pragma once

#include <cstdint>
#include <ostream>

#include "colour/Image.h"
#include "platform/uikit/UIView.h"

namespace render_test {

struct Rgba {
    int r{0}, g{0}, b{0}, a{0};
    bool operator==(const Rgba&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

// Channels each within tolerance of the expected value.
bool near(const Rgba& actual, const Rgba& expected, int tolerance = 1);

// The view drawn at the scale; fails the test (and returns an empty image) when drawing fails.
zimtone::colour::Image draw(const platform::uikit::UIView& view, double scale = 2.0);

// The pixel under a point given in points, at the image's scale.
Rgba pixel_at(const zimtone::colour::Image& image, double x_points, double y_points);

platform::runtime::Ref<platform::uikit::UIColor> rgba(double r, double g, double b, double a = 1.0);

// A view of the class with a frame and an optional background colour, added to a parent if given.
template <class T = platform::uikit::UIView>
platform::runtime::Ref<T> make_view(platform::foundation::CGRect frame,
                                    platform::uikit::UIColor* background = nullptr,
                                    platform::uikit::UIView* parent = nullptr) {
    auto view = platform::uikit::UIView::create<T>(frame);
    view->setBackgroundColor(background);
    if (parent)
        parent->addSubview(view.get());
    return view;
}

} // namespace render_test
