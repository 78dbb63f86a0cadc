// A key of the keyboard drawn the way a tinted keyboard shows it: a new backdrop masked by the
// key's own backdrop layer, so the tint takes the key's rounded shape, above the key's shadow.
#include <gtest/gtest.h>

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/_UIBackdropView.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace platform::runtime;
using namespace render_test;
using platform::foundation::CGRectMake;
using platform::foundation::ns;

namespace {

constexpr double kKeyX = 10, kKeyY = 10, kKeyWidth = 40, kKeyHeight = 42;

// A key on a red keyboard whose backdrop is swapped for a blue one masked by the key's shape.
Ref<UIView> keyboard_with_tinted_key() {
    auto root = make_view(CGRectMake(0, 0, 60, 60), rgba(1, 0, 0).get());
    auto key = msg<Ref<UIView>>(class_createInstance(UIKBBlurredKeyView::runtime_class()),
                                "initWithFrame:keyplane:key:"_sel,
                                CGRectMake(kKeyX, kKeyY, kKeyWidth, kKeyHeight), ns("letters"), ns(""));
    auto* host_backdrop = dynamic_cast<UIKBBlurredKeyView*>(key.get())->host_backdrop();
    Ref<CALayer> shape(host_backdrop->layer());
    host_backdrop->removeFromSuperview();
    auto tinted = msg<Ref<UIBackdropView>>(class_createInstance(UIBackdropView::runtime_class()),
                                           "initWithStyle:"_sel, int64_t{3900});
    tinted->inputSettings()->setColorTint(rgba(0, 0, 1).get());
    tinted->inputSettings()->setColorTintAlpha(1.0);
    tinted->layer()->setMask(shape.get());
    key->insertSubviewAtIndex(tinted.get(), 0);
    root->addSubview(key.get());
    return root;
}

TEST(KeyShape, TintShowsInsideTheRoundedKeyAndTheShadowBelowIt) {
    const auto image = draw(*keyboard_with_tinted_key());
    const double bottom = kKeyY + kKeyHeight;
    struct Spot {
        const char* where;
        double x, y;
        Rgba expected;
    } spots[] = {
        {"middle of the key", kKeyX + kKeyWidth / 2, kKeyY + kKeyHeight / 2, {0, 0, 255, 255}},
        {"just inside the top edge", kKeyX + kKeyWidth / 2, kKeyY + 0.25, {0, 0, 255, 255}},
        {"the rounded-off corner", kKeyX + 0.25, kKeyY + 0.25, {255, 0, 0, 255}},
        {"left of the key", kKeyX - 2, kKeyY + kKeyHeight / 2, {255, 0, 0, 255}},
        {"the shadow under the key", kKeyX + kKeyWidth / 2, bottom + 0.75, {166, 0, 0, 255}},
        {"below the shadow", kKeyX + kKeyWidth / 2, bottom + 3, {255, 0, 0, 255}},
    };
    for (const auto& spot : spots)
        EXPECT_PRED3(near, pixel_at(image, spot.x, spot.y), spot.expected, 2) << spot.where;
}

} // namespace
