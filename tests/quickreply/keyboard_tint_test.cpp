#include "tests/quickreply/QuickReplyScene.h"

#include <cmath>
#include <vector>

#include "colour/bridge/HexColors.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKBRenderConfig.h"
#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"
#include "tweak/quickreply/KeyBackdrop.h"
#include "tweak/quickreply/quick_reply_colours.h"

using namespace zimtone::testing;
using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::RunLoop;
using zimtone::colour::Colour;

namespace {

template <class T> std::vector<T*> children_of(UIView* view) {
    std::vector<T*> found;
    for (const auto& child : view->subview_list())
        if (auto* typed = dynamic_cast<T*>(child.get()))
            found.push_back(typed);
    return found;
}

UIBackdropView* tweak_backdrop(UIKBBlurredKeyView* key) {
    return dynamic_cast<UIBackdropView*>(msg<Ref<Object>>(key, "backdrop"_sel).get());
}

bool host_lightness() {
    return msg<bool>(UIKBRenderConfig::defaultConfig(), "lightKeyboard"_sel);
}

Colour alpha(Colour c, double a) {
    c.alpha = a;
    return c;
}

size_t scheduled_timers() {
    return RunLoop::main().timers().size();
}

const Colour kHostLightBackground{0.82, 0.835, 0.86, 1.0};

} // namespace

class KeyboardTint : public QuickReplyScene {
  protected:
    // The keyboard colour under the defaults: the icon colour, saturated to 1.
    Colour default_keyboard_colour() {
        zimtone::tweak::quickreply::KeyboardInputs in;
        in.dominant = messages_icon_colour();
        return *zimtone::tweak::quickreply::keyboard_colour(in);
    }
};

TEST_F(KeyboardTint, EverythingOnlyWhenBothSwitchesAreOn) {
    struct Row {
        bool banners, keyboard;
        bool tinted;
    };
    const Row rows[] = {
        {true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "BannersEnabled " << row.banners << ", QRKeyboardColor " << row.keyboard);
        settings().BannersEnabled = row.banners;
        settings().QRKeyboardColor = row.keyboard;
        settings().BannersUnicornEnabled = true;
        auto* layout = show_keyboard();
        ASSERT_NE(layout, nullptr);
        EXPECT_EQ(layout->backdrop_view()->style(), row.tinted ? 3900 : kKeyboardBackdropStyleLight);
        EXPECT_EQ(host_lightness(), !row.tinted);
        EXPECT_EQ(components(layout->backgroundColor()),
                  row.tinted ? default_keyboard_colour() : kHostLightBackground);
        auto cells = children_of<UIKeyboardPredictionCell>(layout);
        ASSERT_EQ(cells.size(), 3u);
        for (auto* cell : cells) {
            EXPECT_EQ(components(cell->backgroundColor()),
                      row.tinted ? std::optional(default_keyboard_colour()) : std::nullopt);
        }
        auto keys = children_of<UIKBBlurredKeyView>(layout);
        ASSERT_FALSE(keys.empty());
        for (auto* key : keys) {
            EXPECT_EQ(tweak_backdrop(key) != nullptr, row.tinted);
            EXPECT_EQ(key->host_backdrop()->superview() == key, !row.tinted);
        }
        // One timer each for the layout, the keys and the cells, and none when not tinted.
        EXPECT_EQ(scheduled_timers(), row.tinted ? 1 + keys.size() + cells.size() : 0u);
        Keyboard::dismiss();
    }
}

TEST_F(KeyboardTint, KeyBackdropIsTintedBlurredAndShapedLikeTheHostKey) {
    auto* layout = show_keyboard();
    for (auto* key : children_of<UIKBBlurredKeyView>(layout)) {
        UIBackdropView* backdrop = tweak_backdrop(key);
        ASSERT_NE(backdrop, nullptr);
        EXPECT_EQ(key->subview_list().front().get(), backdrop); // bottom-most
        EXPECT_EQ(backdrop->style(), 3900);
        EXPECT_EQ(components(backdrop->inputSettings()->colorTint()), default_keyboard_colour());
        EXPECT_EQ(backdrop->inputSettings()->colorTintAlpha(), 1.0);
        EXPECT_TRUE(backdrop->blurRadiusSetOnce());
        EXPECT_EQ(backdrop->blurRadius(), 4.0);
        EXPECT_EQ(*platform::foundation::string_of(backdrop->blurQuality()), "default");
        EXPECT_EQ(backdrop->layer()->mask(), key->host_backdrop()->layer());
        EXPECT_EQ(key->host_backdrop()->superview(), nullptr);
    }
}

namespace {

// A key whose "_backdropView" holds nothing: the subclass's own variable of that name hides the
// host's, so the runtime finds no backdrop there, as for a host key class without one.
class KeyWithoutBackdrop : public UIKBBlurredKeyView {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<KeyWithoutBackdrop>("ZimtoneTestKeyWithoutBackdrop",
                                                            UIKBBlurredKeyView::runtime_class())
                               .ivar("_backdropView", &KeyWithoutBackdrop::no_backdrop_)
                               .get();
        return cls;
    }

  private:
    Ref<UIView> no_backdrop_;
};

} // namespace

TEST_F(KeyboardTint, AKeyWithoutAHostBackdropStaysTheHosts) {
    settings().BannersUnicornEnabled = true;
    const size_t timers_before = scheduled_timers();
    Ref<Object> made = msg<Ref<Object>>(
        class_createInstance(KeyWithoutBackdrop::runtime_class()), "initWithFrame:keyplane:key:"_sel,
        platform::foundation::CGRectMake(0, 0, 32, 42), static_cast<Object*>(nullptr),
        static_cast<Object*>(platform::foundation::ns("q").get()));
    auto* key = dynamic_cast<KeyWithoutBackdrop*>(made.get());
    ASSERT_NE(key, nullptr);
    ASSERT_NE(key->host_backdrop(), nullptr) << "the host made its backdrop as always";
    EXPECT_EQ(tweak_backdrop(key), nullptr);
    EXPECT_EQ(key->host_backdrop()->superview(), key);
    EXPECT_EQ(scheduled_timers(), timers_before) << "nothing to cycle";
}

TEST_F(KeyboardTint, PackageProbeSkipsOnlyTheKeyBackdrops) {
    struct Row {
        const char* name;
        std::optional<std::string> list;
        bool installed;
    };
    const Row rows[] = {
        {"no file list", std::nullopt, false},
        {"a readable list", "/.\n/usr/lib/marrowfin.dylib\n", true},
        {"an empty list still reads as text", "", true},
        {"a list that is not UTF-8 reports an error", "\xff\xfe\x00", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        set_package_list(row.list);
        EXPECT_EQ(zimtone::tweak::quickreply::probed_package_installed(), row.installed);
        auto* layout = show_keyboard();
        for (auto* key : children_of<UIKBBlurredKeyView>(layout)) {
            EXPECT_EQ(tweak_backdrop(key) == nullptr, row.installed);
            EXPECT_EQ(key->host_backdrop()->superview() == key, row.installed);
        }
        // The rest of the keyboard is tinted either way.
        EXPECT_EQ(layout->backdrop_view()->style(), 3900);
        EXPECT_EQ(components(layout->backgroundColor()), default_keyboard_colour());
        for (auto* cell : children_of<UIKeyboardPredictionCell>(layout))
            EXPECT_EQ(components(cell->backgroundColor()), default_keyboard_colour());
        Keyboard::dismiss();
    }
}

TEST_F(KeyboardTint, PerAppColourTintsTheKeyboardButNotThePredictionText) {
    settings().SpecificAppColor = true;
    settings().AllowSaturation = false;
    auto entries = platform::foundation::NSMutableDictionary::create();
    entries->set("com.apple.MobileSMS", platform::foundation::ns("FF8800"));
    settings().per_app_colours = entries;
    auto fixed = components(
        zimtone::colour::bridge::colorWithHexString(platform::foundation::ns("FF8800").get()).get());
    ASSERT_TRUE(fixed);

    auto* layout = show_keyboard();
    EXPECT_EQ(components(layout->backgroundColor()), fixed);
    for (auto* cell : children_of<UIKeyboardPredictionCell>(layout)) {
        EXPECT_EQ(components(cell->backgroundColor()), fixed);
        EXPECT_EQ(components(cell->label()->textColor()),
                  zimtone::tweak::quickreply::prediction_text_colour(messages_icon_colour()));
    }
    for (auto* key : children_of<UIKBBlurredKeyView>(layout))
        EXPECT_EQ(components(tweak_backdrop(key)->inputSettings()->colorTint()), fixed);
}

TEST_F(KeyboardTint, PredictionTextFromTheIconOrTheHost) {
    struct Row {
        const char* name;
        bool keyboard, auto_text;
        Colour expected;
    };
    Colour contrast = zimtone::tweak::quickreply::prediction_text_colour(messages_icon_colour());
    const Row rows[] = {
        {"tinted: contrast of the icon colour", true, true, contrast},
        // The host's own colour of the look in force: dark keys while the keyboard is tinted.
        {"AutoTextColor off", true, false,
         *components(UIKBRenderConfig::prediction_text_colour(false).get())},
        {"keyboard colouring off", false, true,
         *components(UIKBRenderConfig::prediction_text_colour(true).get())},
    };
    for (const auto& row : rows) {
        settings().QRKeyboardColor = row.keyboard;
        settings().AutoTextColor = row.auto_text;
        auto* layout = show_keyboard();
        for (auto* cell : children_of<UIKeyboardPredictionCell>(layout))
            EXPECT_EQ(components(cell->label()->textColor()), row.expected) << row.name;
        Keyboard::dismiss();
    }
}

TEST_F(KeyboardTint, BannerAlphaZeroHoldsOnBackgroundsAndKeyTintAlsoWhileCycling) {
    settings().BannerAlpha = 0.0;
    settings().BannersUnicornEnabled = true;
    auto* layout = show_keyboard();
    auto cells = children_of<UIKeyboardPredictionCell>(layout);
    auto keys = children_of<UIKBBlurredKeyView>(layout);
    EXPECT_EQ(components(layout->backgroundColor()), alpha(default_keyboard_colour(), 0.0));
    for (auto* cell : cells)
        EXPECT_EQ(components(cell->backgroundColor()), alpha(default_keyboard_colour(), 0.0));
    for (auto* key : keys)
        EXPECT_EQ(tweak_backdrop(key)->inputSettings()->colorTintAlpha(), 0.0);

    platform::foundation::seed_random(7);
    for (int tick = 0; tick < 3; ++tick) {
        auto before = components(layout->backgroundColor());
        advance(0.5);
        auto after = components(layout->backgroundColor());
        ASSERT_TRUE(after);
        EXPECT_NE(after, before) << "tick " << tick;
        EXPECT_EQ(after->alpha, 0.0);
        for (auto* cell : cells)
            EXPECT_EQ(components(cell->backgroundColor())->alpha, 0.0);
        for (auto* key : keys) {
            EXPECT_EQ(components(tweak_backdrop(key)->inputSettings()->colorTint())->alpha, 1.0);
            EXPECT_EQ(tweak_backdrop(key)->inputSettings()->colorTintAlpha(), 0.0);
        }
    }
}

TEST_F(KeyboardTint, SaturationAppliesOnlyWhenAllowedAlsoToRandomColours) {
    settings().BannersUnicornEnabled = true;
    settings().BannerSaturation = 0.0;
    for (bool allow : {true, false}) {
        SCOPED_TRACE(allow ? "allowed" : "not allowed");
        settings().AllowSaturation = allow;
        platform::foundation::seed_random(11);
        auto* layout = show_keyboard();
        bool all_grey = true;
        for (int tick = 0; tick < 6; ++tick) {
            advance(0.5);
            auto c = *components(layout->backgroundColor());
            all_grey = all_grey && c.red == c.green && c.green == c.blue;
            if (!allow) {
                for (double channel : {c.red, c.green, c.blue})
                    EXPECT_EQ(channel * 256, std::floor(channel * 256));
            }
        }
        EXPECT_EQ(all_grey, allow);
        Keyboard::dismiss();
    }
}

TEST_F(KeyboardTint, TimersStopWhenTheirViewsAreLetGo) {
    settings().BannersUnicornEnabled = true;
    auto* layout = show_keyboard();
    size_t per_keyboard = scheduled_timers();
    auto cells = children_of<UIKeyboardPredictionCell>(layout);
    ASSERT_EQ(per_keyboard, 1 + children_of<UIKBBlurredKeyView>(layout).size() + cells.size());
    // Later layout passes keep one timer per cell.
    for (auto* cell : cells) {
        auto* timer = dynamic_cast<platform::foundation::NSTimer*>(
            msg<Ref<Object>>(cell, "colorChangerTimer"_sel).get());
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isValid());
        EXPECT_EQ(timer->timeInterval(), 0.5);
        cell->setNeedsLayout();
    }
    advance(0.5);
    EXPECT_EQ(scheduled_timers(), per_keyboard);

    Keyboard::dismiss();
    EXPECT_EQ(scheduled_timers(), 0u);
    advance(1.0); // nothing fires at views that are gone

    // The reply's keyboard comes up twice (host, then again in the new colours); only the one
    // on screen keeps timers.
    open_reply();
    EXPECT_EQ(scheduled_timers(), per_keyboard);
}
