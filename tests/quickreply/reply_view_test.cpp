#include "tests/quickreply/QuickReplyScene.h"

#include "colour/adjustments.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/uikit/Canvas.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "tweak/quickreply/quick_reply_colours.h"

using namespace zimtone::testing;
using namespace platform::messages;
using namespace platform::uikit;
using zimtone::colour::Colour;
using namespace platform::runtime;

namespace {

const Colour kHostBlue{0.0, 122.0 / 255.0, 1.0, 1.0};
const Colour kHostGrey{0.56, 0.56, 0.58, 1.0};
const Colour kHostFill{1, 1, 1, 1};
const Colour kHostStroke{0.78, 0.78, 0.8, 1.0};

// What the reply view shows, read from the host's objects.
struct ReplyLook {
    std::optional<Colour> fill, stroke, send_normal, send_disabled, text, caret_own, placeholder, audio_own;

    bool operator==(const ReplyLook&) const = default;
};

ReplyLook look_of(CKInlineReplyViewController* reply) {
    CKMessageEntryView* entry = reply->entryView();
    CKMessageEntryTextView* text = entry->contentView()->textView();
    const auto& titles = entry->sendButton()->title_colours();
    auto title = [&](uint64_t state) -> std::optional<Colour> {
        auto it = titles.find(state);
        return it == titles.end() ? std::nullopt : components(it->second.get());
    };
    return {components(entry->cover_view()->fillColor()),
            components(entry->cover_view()->strokeColor()),
            title(UIControlStateNormal),
            title(UIControlStateDisabled),
            components(text->textColor()),
            components(text->own_tint_colour()),
            components(text->placeholderLabel()->textColor()),
            components(entry->audioButton()->own_tint_colour())};
}

Colour with_alpha(Colour c, double alpha) {
    c.alpha = alpha;
    return c;
}

} // namespace

class ReplyView : public QuickReplyScene {};

TEST_F(ReplyView, ColoursFollowTheSwitches) {
    Colour icon = messages_icon_colour();
    auto expected = zimtone::tweak::quickreply::reply_colours(icon, 1.0);
    const Colour host_placeholder{0.7, 0.7, 0.72, 1.0};
    struct Row {
        const char* name;
        bool banners, auto_text;
        ReplyLook look;
        uint64_t keyboards_shown; // the host brings one up; the recolouring brings a second
    };
    const Row rows[] = {
        {"BannersEnabled off: the host's view",
         false,
         true,
         {kHostFill, kHostStroke, kHostBlue, kHostGrey, Colour{0, 0, 0, 1}, std::nullopt, host_placeholder,
          std::nullopt},
         1},
        {"AutoTextColor off: cover and audio button only",
         true,
         false,
         {expected.cover_fill, expected.cover_stroke, kHostBlue, kHostGrey, Colour{0, 0, 0, 1}, std::nullopt,
          host_placeholder, expected.contrast},
         1},
        {"both on: everything",
         true,
         true,
         {expected.cover_fill, expected.cover_stroke, expected.contrast, expected.contrast, icon, icon, icon,
          expected.contrast},
         2},
    };
    for (const auto& row : rows) {
        settings().BannersEnabled = row.banners;
        settings().AutoTextColor = row.auto_text;
        uint64_t before = Keyboard::times_shown();
        auto* reply = open_reply();
        EXPECT_EQ(look_of(reply), row.look) << row.name;
        EXPECT_EQ(Keyboard::times_shown() - before, row.keyboards_shown) << row.name;
        // The text view stays first responder with its keyboard up after the cycle.
        EXPECT_TRUE(reply->entryView()->contentView()->textView()->isFirstResponder()) << row.name;
        EXPECT_NE(Keyboard::on_screen(), nullptr) << row.name;
        TearDown();
        SetUp();
    }
}

TEST_F(ReplyView, CoverIsDesaturatedEvenWithSaturationNotAllowed) {
    Colour contrast = zimtone::colour::colourOf(zimtone::colour::reverseColor(messages_icon_colour()));
    // The scene's Messages icon is dark, so its contrast is white, which the saturation step turns
    // red: with saturation 1 the cover differs from the plain contrast.
    ASSERT_EQ(contrast, (Colour{1, 1, 1, 1}));
    for (double saturation : {0.0, 1.0}) {
        settings().AllowSaturation = false;
        settings().BannerSaturation = saturation;
        auto* cover = open_reply()->entryView()->cover_view();
        Colour cover_colour = saturation == 0.0 ? contrast : Colour{1, 0, 0, 1};
        EXPECT_EQ(components(cover->strokeColor()), cover_colour) << saturation;
        EXPECT_EQ(components(cover->fillColor()), with_alpha(cover_colour, 0.5)) << saturation;
        TearDown();
        SetUp();
    }
}

TEST_F(ReplyView, PerAppColourForMessagesDoesNotReachTheReplyView) {
    auto* plain = open_reply();
    ReplyLook without = look_of(plain);
    TearDown();
    SetUp();
    settings().SpecificAppColor = true;
    auto entries = platform::foundation::NSMutableDictionary::create();
    entries->set("com.apple.MobileSMS", platform::foundation::ns("FF8800"));
    settings().per_app_colours = entries;
    EXPECT_EQ(look_of(open_reply()), without);
}

namespace {

// An entry view of a class without the cover instance variable, passing on the host entry
// view's other parts, and a controller that answers it as its entry view.
class EntryWithoutCover : public UIView {
  public:
    static Class runtime_class() {
        static Class cls =
            ClassBuilder<EntryWithoutCover>("ZimtoneTestEntryWithoutCover", UIView::runtime_class())
                .method<&EntryWithoutCover::sendButton>("sendButton")
                .method<&EntryWithoutCover::audioButton>("audioButton")
                .method<&EntryWithoutCover::contentView>("contentView")
                .get();
        return cls;
    }
    UIButton* sendButton() const { return entry->sendButton(); }
    UIButton* audioButton() const { return entry->audioButton(); }
    CKMessageEntryContentView* contentView() const { return entry->contentView(); }
    Ref<CKMessageEntryView> entry;
};

class ReplyWithoutCover : public CKInlineReplyViewController {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<ReplyWithoutCover>("ZimtoneTestReplyWithoutCover",
                                                           CKInlineReplyViewController::runtime_class())
                               .method<&ReplyWithoutCover::entryWithoutCover>("entryView")
                               .get();
        return cls;
    }
    EntryWithoutCover* entryWithoutCover() {
        if (!stand_in_ && entryView()) {
            stand_in_ = UIView::create<EntryWithoutCover>(entryView()->frame());
            stand_in_->entry = Ref<CKMessageEntryView>(entryView());
        }
        return stand_in_.get();
    }

  private:
    Ref<EntryWithoutCover> stand_in_;
};

} // namespace

TEST_F(ReplyView, AnEntryViewWithoutACoverGetsEverythingElse) {
    Colour icon = messages_icon_colour();
    auto expected = zimtone::tweak::quickreply::reply_colours(icon, 1.0);
    Ref<ReplyWithoutCover> reply(
        dynamic_cast<ReplyWithoutCover*>(class_createInstance(ReplyWithoutCover::runtime_class()).get()));
    ASSERT_NE(reply, nullptr);
    reply->prepare(platform::foundation::CGRectMake(0, 0, 375, 667 - Keyboard::kHeight), "Anna", "Lunch?");
    window()->addSubview(reply->view());
    msg(reply, "setupView"_sel);
    window()->layoutIfNeeded();
    EXPECT_EQ(look_of(reply.get()), (ReplyLook{kHostFill, kHostStroke, expected.contrast, expected.contrast,
                                               icon, icon, icon, expected.contrast}));
    reply->view()->removeFromSuperview();
}

TEST_F(ReplyView, EachSendButtonUpdateRestoresTheContrastColour) {
    auto* reply = open_reply();
    Colour contrast = zimtone::tweak::quickreply::reply_colours(messages_icon_colour(), 1.0).contrast;
    for (const char* text : {"O", "n my way"}) {
        reply->type(text);
        EXPECT_EQ(look_of(reply).send_normal, contrast) << text;
        EXPECT_EQ(look_of(reply).send_disabled, contrast) << text;
        EXPECT_TRUE(reply->entryView()->sendButton()->isEnabled());
    }
    // With AutoTextColor off the host's update wins again.
    settings().AutoTextColor = false;
    reply->type("!");
    EXPECT_EQ(look_of(reply).send_normal, kHostBlue);
    EXPECT_EQ(look_of(reply).send_disabled, kHostGrey);
}

namespace {

// Records the fills a view draws of its own content.
class FillRecorder : public Canvas {
  public:
    void fill_rect(platform::foundation::CGRect rect, const UIColor* colour) override {
        fills.push_back({rect, components(colour)});
    }
    void draw_text(platform::foundation::CGRect, const platform::foundation::NSAttributedString*,
                   const UIFont*, const UIColor*, int64_t) override {}
    void draw_image(platform::foundation::CGRect, const UIImage*) override {}

    struct Fill {
        platform::foundation::CGRect rect;
        std::optional<Colour> colour;
    };
    std::vector<Fill> fills;
};

} // namespace

TEST_F(ReplyView, DrawnFieldShowsTheCoverColoursAndACaretInTheTint) {
    auto* reply = open_reply();
    auto expected = zimtone::tweak::quickreply::reply_colours(messages_icon_colour(), 1.0);
    FillRecorder cover;
    reply->entryView()->cover_view()->draw(cover);
    ASSERT_EQ(cover.fills.size(), 5u); // the field, then its four edges
    EXPECT_EQ(cover.fills[0].colour, expected.cover_fill);
    for (size_t i = 1; i < cover.fills.size(); ++i)
        EXPECT_EQ(cover.fills[i].colour, expected.cover_stroke);

    auto* text = reply->entryView()->contentView()->textView();
    FillRecorder caret;
    text->draw(caret);
    ASSERT_EQ(caret.fills.size(), 1u);
    EXPECT_EQ(caret.fills[0].colour, expected.icon);
    // Typing moves the caret right; no caret once the field gives up first responder.
    reply->type("Hi");
    FillRecorder moved;
    text->draw(moved);
    ASSERT_EQ(moved.fills.size(), 1u);
    EXPECT_GT(moved.fills[0].rect.origin.x, caret.fills[0].rect.origin.x);
    msg<bool>(text, "resignFirstResponder"_sel);
    FillRecorder none;
    text->draw(none);
    EXPECT_TRUE(none.fills.empty());
}
