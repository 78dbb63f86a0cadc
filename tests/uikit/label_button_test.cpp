#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::Attributes;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::NSAttributedString;
using platform::foundation::NSForegroundColorAttributeName;
using platform::foundation::NSString;

namespace {
Ref<UIColor> rgb(double r, double g, double b) {
    return UIColor::colorWithRGBA(r, g, b, 1);
}
} // namespace

TEST(Label, TextAndAttributedTextAreOneValue) {
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 100, 20));
    EXPECT_EQ(label->text(), nullptr);
    EXPECT_EQ(label->attributedText(), nullptr);
    EXPECT_EQ(label->textColor(), UIColor::blackColor().get()) << "labels start black";
    EXPECT_FALSE(label->isUserInteractionEnabled());

    msg(label, "setText:"_sel, ns("héllo"));
    auto attributed = msg<Ref<NSAttributedString>>(label, "attributedText"_sel);
    ASSERT_TRUE(attributed);
    EXPECT_EQ(attributed->str(), "héllo");
    EXPECT_EQ(attributed->length(), 5u);
    EXPECT_TRUE(attributed->attributes_at(0).empty()) << "plain text carries no attributes";

    auto blue = rgb(0, 0, 1);
    auto styled = NSAttributedString::create("styled", {{NSForegroundColorAttributeName, blue}});
    msg(label, "setAttributedText:"_sel, styled);
    EXPECT_EQ(msg<Ref<NSString>>(label, "text"_sel)->str(), "styled");
    EXPECT_EQ(label->textColor(), blue.get()) << "the first character's colour becomes the label's";

    msg(label, "setText:"_sel, static_cast<Object*>(nullptr));
    EXPECT_EQ(label->text(), nullptr);
    EXPECT_EQ(label->attributedText(), nullptr);
}

TEST(Label, TextColourCoversTheWholeAttributedText) {
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 100, 20));
    auto red = rgb(1, 0, 0);
    auto text = platform::foundation::NSMutableAttributedString::create("two parts");
    text->add_attribute(NSForegroundColorAttributeName, rgb(0, 1, 0), {0, 3});
    text->add_attribute("NSUnderline", ns("1"), {4, 5});
    label->setAttributedText(text.get());

    msg(label, "setTextColor:"_sel, red);
    auto* shown = label->attributedText();
    ASSERT_NE(shown, nullptr);
    for (uint64_t i = 0; i < shown->length(); ++i)
        EXPECT_EQ(foreground_colour_at(*shown, i), red.get()) << i;
    EXPECT_NE(shown->attribute_at("NSUnderline", 5), nullptr) << "other attributes stay";
    EXPECT_EQ(foreground_colour_at(*text, 0)->colour().green, 1.0) << "the caller's string is not changed";

    msg(label, "setTextColor:"_sel, static_cast<Object*>(nullptr));
    EXPECT_EQ(label->textColor(), UIColor::blackColor().get()) << "nil restores the default";
}

TEST(Label, FontAndAlignmentAreStored) {
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 100, 20));
    auto font =
        msg<Ref<UIFont>>(UIFont::runtime_class(), "fontWithName:size:"_sel, ns("Helvetica Light"), 18.0);
    ASSERT_TRUE(font);
    msg(label, "setFont:"_sel, font);
    msg(label, "setTextAlignment:"_sel, int64_t{NSTextAlignmentCenter});
    EXPECT_EQ(msg<Ref<UIFont>>(label, "font"_sel)->name(), "Helvetica Light");
    EXPECT_DOUBLE_EQ(label->font()->pointSize(), 18.0);
    EXPECT_EQ(msg<int64_t>(label, "textAlignment"_sel), NSTextAlignmentCenter);
}

TEST(Button, TitleColourPerStateFallsBackToNormalThenDefault) {
    auto red = rgb(1, 0, 0);
    auto green = rgb(0, 1, 0);
    struct Case {
        const char* what;
        int64_t type;
        std::vector<std::pair<uint64_t, UIColor*>> set;
        uint64_t asked;
        std::vector<double> expected_rgba;
    };
    const std::vector<Case> cases{
        {"own colour", UIButtonTypeCustom, {{0, red.get()}, {2, green.get()}}, 2, {0, 1, 0, 1}},
        {"normal wins for an unset state", UIButtonTypeCustom, {{0, red.get()}}, 1, {1, 0, 0, 1}},
        {"custom default is white", UIButtonTypeCustom, {}, 2, {1, 1, 1, 1}},
        {"system default is the tint", UIButtonTypeSystem, {}, 0, {0, 122.0 / 255.0, 1, 1}},
        {"nil clears a state", UIButtonTypeCustom, {{2, green.get()}, {2, nullptr}}, 2, {1, 1, 1, 1}},
    };
    for (const auto& tc : cases) {
        auto button = msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel, tc.type);
        ASSERT_TRUE(button) << tc.what;
        EXPECT_EQ(msg<int64_t>(button, "buttonType"_sel), tc.type);
        for (auto [state, colour] : tc.set)
            msg(button, "setTitleColor:forState:"_sel, colour, state);
        auto colour = msg<Ref<UIColor>>(button, "titleColorForState:"_sel, tc.asked);
        ASSERT_TRUE(colour) << tc.what;
        const auto& c = colour->colour();
        EXPECT_EQ((std::vector<double>{c.red, c.green, c.blue, c.alpha}), tc.expected_rgba) << tc.what;
    }
}

TEST(Button, TitleLabelShowsTheCurrentState) {
    auto button = msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel, int64_t{0});
    auto red = rgb(1, 0, 0);
    auto grey = rgb(0.5, 0.5, 0.5);
    msg(button, "setTitle:forState:"_sel, ns("Send"), uint64_t{UIControlStateNormal});
    msg(button, "setTitleColor:forState:"_sel, red, uint64_t{UIControlStateNormal});
    msg(button, "setTitleColor:forState:"_sel, grey, uint64_t{UIControlStateDisabled});
    auto label = msg<Ref<UILabel>>(button, "titleLabel"_sel);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->superview(), button.get());
    EXPECT_EQ(label->text()->str(), "Send");
    EXPECT_EQ(label->textColor(), red.get());

    msg(button, "setEnabled:"_sel, false);
    EXPECT_EQ(msg<uint64_t>(button, "state"_sel), UIControlStateDisabled);
    EXPECT_EQ(label->textColor(), grey.get());
    EXPECT_EQ(button->titleForState(UIControlStateDisabled)->str(), "Send") << "titles fall back to normal";

    button->setFrame(CGRectMake(0, 0, 80, 30));
    button->layoutIfNeeded();
    EXPECT_EQ(label->frame(), CGRectMake(0, 0, 80, 30));
}

namespace {
// A target with one action of each shape a control can send.
class ActionTarget : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<ActionTarget>("TestActionTarget", NSObject::runtime_class())
                               .method<&ActionTarget::tapped>("tapped")
                               .method<&ActionTarget::tappedBy>("tappedBy:")
                               .method<&ActionTarget::tappedByForEvent>("tappedBy:forEvent:")
                               .method<&ActionTarget::answer>("answer")
                               .get();
        return cls;
    }
    void tapped() { log.push_back("tapped"); }
    void tappedBy(Object* sender) { log.push_back(sender ? "tappedBy:sender" : "tappedBy:nil"); }
    void tappedByForEvent(Object* sender, Object* event) {
        log.push_back(std::string("tappedBy:forEvent:") + (sender ? "sender" : "nil") +
                      (event ? "event" : "nil"));
    }
    double answer() {
        log.push_back("answer");
        return 42;
    }
    std::vector<std::string> log;
};
} // namespace

TEST(Button, TargetActionsFireForTheirEvents) {
    auto button = UIView::create<UIButton>(CGRectMake(0, 0, 10, 10));
    auto target = make_object<ActionTarget>();
    msg(button, "addTarget:action:forControlEvents:"_sel, target, "tapped"_sel,
        uint64_t{UIControlEventTouchUpInside});
    msg(button, "addTarget:action:forControlEvents:"_sel, target, "tappedBy:"_sel,
        uint64_t{UIControlEventTouchDown});
    msg(button, "addTarget:action:forControlEvents:"_sel, target, "tappedBy:forEvent:"_sel,
        uint64_t{UIControlEventTouchUpInside});
    // Registering the same pair again widens its events instead of adding a second entry.
    msg(button, "addTarget:action:forControlEvents:"_sel, target, "tapped"_sel,
        uint64_t{UIControlEventValueChanged});
    // An action with a result a control cannot take is reported and skipped, not called.
    msg(button, "addTarget:action:forControlEvents:"_sel, target, "answer"_sel,
        uint64_t{UIControlEventTouchUpInside});
    EXPECT_EQ(button->target_actions().size(), 4u);

    button->send_actions(UIControlEventTouchUpInside);
    EXPECT_EQ(target->log, (std::vector<std::string>{"tapped", "tappedBy:forEvent:sendernil"}));
    target->log.clear();
    button->send_actions(UIControlEventTouchDown | UIControlEventValueChanged);
    EXPECT_EQ(target->log, (std::vector<std::string>{"tapped", "tappedBy:sender"}));
}

TEST(Button, ImagesAndHighlightFlagAreStoredPerState) {
    auto button = UIView::create<UIButton>(CGRectMake(0, 0, 10, 10));
    auto normal = UIImage::withImage({});
    auto pressed = UIImage::withImage({});
    msg(button, "setBackgroundImage:forState:"_sel, normal, uint64_t{0});
    msg(button, "setImage:forState:"_sel, pressed, uint64_t{UIControlStateHighlighted});
    msg(button, "setShowsTouchWhenHighlighted:"_sel, true);
    EXPECT_EQ(button->backgroundImageForState(UIControlStateSelected), normal.get());
    EXPECT_EQ(button->imageForState(UIControlStateHighlighted), pressed.get());
    EXPECT_EQ(button->imageForState(UIControlStateNormal), nullptr);
    EXPECT_TRUE(button->showsTouchWhenHighlighted());
}

TEST(ImageView, InitWithImageTakesTheImageSize) {
    auto image =
        UIImage::withImage(zimtone::colour::Image::fromPixels(2, 3, 1, std::vector<uint8_t>(2 * 3 * 4)));
    auto view = msg<Ref<UIImageView>>(class_createInstance(UIImageView::runtime_class()),
                                      "initWithImage:"_sel, image);
    ASSERT_TRUE(view);
    EXPECT_EQ(msg<Ref<UIImage>>(view, "image"_sel).get(), image.get());
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 2, 3));
    EXPECT_FALSE(view->isUserInteractionEnabled());
    msg(view, "setImage:"_sel, static_cast<Object*>(nullptr));
    EXPECT_EQ(view->image(), nullptr);
}
