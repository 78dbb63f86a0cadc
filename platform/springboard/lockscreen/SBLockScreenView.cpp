#include "platform/springboard/lockscreen/SBLockScreenView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/ChromeDrawing.h"
#include "platform/uikit/Canvas.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;
using uikit::UIColor;
using uikit::UIFont;
using uikit::UILabel;
using uikit::UIView;

namespace {

constexpr double kClockTop = 60;
constexpr double kClockHeight = 86;
constexpr double kDateTop = 146;
constexpr double kDateHeight = 24;
constexpr double kSlideFromBottom = 50;
constexpr double kSlideHeight = 30;
constexpr double kSlideTextSize = 20;
// The chevron left of "slide to unlock": an open ">" of two strokes.
constexpr double kChevronWidth = 8;
constexpr double kChevronHeight = 14;
constexpr double kChevronStroke = 2;
constexpr double kChevronGap = 10;
// The camera grabber at the bottom right: a small camera body with its lens.
constexpr double kCameraWidth = 24;
constexpr double kCameraHeight = 18;
constexpr double kCameraRight = 14;
constexpr double kCameraBottom = 14;
// The wallpaper goes dark and blurred behind the list, as on the phone.
constexpr double kUnderlayDim = 0.35;
constexpr int64_t kUnderlayStyle = 2030;
constexpr double kUnderlayBlurRadius = 20;

Ref<UIColor> chrome_colour() {
    return UIColor::whiteColor();
}

// A dimming view whose backdrop, covering it, blurs the dimmed wallpaper behind.
Ref<UIView> make_underlay(CGRect bounds) {
    auto view = UIView::create<UIView>(bounds);
    view->setBackgroundColor(UIColor::colorWithRGBA(0, 0, 0, kUnderlayDim));
    Ref<Object> instance = class_createInstance(uikit::UIBackdropView::runtime_class());
    auto backdrop = msg<Ref<uikit::UIBackdropView>>(instance, "initWithStyle:"_sel, kUnderlayStyle);
    backdrop->setBlurRadius(kUnderlayBlurRadius);
    view->addSubview(backdrop.get());
    return view;
}

Ref<UILabel> centred_label(const char* text, Ref<UIFont> font) {
    auto l = UIView::create<UILabel>(CGRect{});
    l->setText(ns(text));
    l->setFont(std::move(font));
    l->setTextColor(UIColor::whiteColor());
    l->setTextAlignment(uikit::NSTextAlignmentCenter);
    return l;
}

// A requester is named by its string; any other object has no name and gets no underlay.
const std::string* requester_name(const Object* requester) {
    return foundation::string_of(requester);
}

} // namespace

Class SBLockScreenView::runtime_class() {
    static Class cls = ClassBuilder<SBLockScreenView>("SBLockScreenView", UIView::runtime_class())
                           .method<&SBLockScreenView::addLockContentUnderlayWithRequester>(
                               "_addLockContentUnderlayWithRequester:")
                           .method<&SBLockScreenView::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

SBLockScreenView::SBLockScreenView()
    : clock_(centred_label("", UIFont::fontWithName(".SFUIDisplay-Thin", 72))),
      date_(centred_label("", UIFont::systemFontOfSize(18))),
      slide_(centred_label("slide to unlock", UIFont::systemFontOfSize(kSlideTextSize))) {
    chrome_view_ = UIView::create<SBLockScreenChromeView>(CGRect{});
    chrome_view_->setUserInteractionEnabled(false);
    addSubview(clock_);
    addSubview(date_);
    addSubview(slide_);
    addSubview(chrome_view_);
}

void SBLockScreenView::addLockContentUnderlayWithRequester(const Object* requester) {
    const std::string* name = requester_name(requester);
    if (!name)
        return;
    for (const auto& u : underlays_)
        if (u.requester == *name)
            return;
    auto view = make_underlay(bounds());
    insertSubviewAtIndex(view, 0);
    underlays_.push_back({*name, view});
}

void SBLockScreenView::removeLockContentUnderlayWithRequester(const std::string& requester) {
    auto it = std::find_if(underlays_.begin(), underlays_.end(),
                           [&](const Underlay& u) { return u.requester == requester; });
    if (it == underlays_.end())
        return;
    it->view->removeFromSuperview();
    underlays_.erase(it);
}

void SBLockScreenView::setNotificationListView(SBLockScreenNotificationListView* list) {
    if (list_ == list)
        return;
    if (list_) {
        list_->removeFromSuperview();
        removeLockContentUnderlayWithRequester(kListRequester);
    }
    list_ = list;
    if (!list_)
        return;
    list_->setFrame(bounds());
    addSubview(list_);
    msg(this, "_addLockContentUnderlayWithRequester:"_sel, ns(kListRequester));
}

void SBLockScreenView::layoutSubviews() {
    double width = bounds().size.width;
    double height = bounds().size.height;
    // The clock and date read the time whenever the screen is laid out, as a shown lock screen is.
    auto now = foundation::device_time(foundation::RunLoop::main().now());
    clock_->setText(ns(foundation::clock_face_text(now)));
    date_->setText(ns(foundation::date_text(now)));
    clock_->setFrame(CGRectMake(0, kClockTop, width, kClockHeight));
    date_->setFrame(CGRectMake(0, kDateTop, width, kDateHeight));
    slide_->setFrame(CGRectMake(0, height - kSlideFromBottom, width, kSlideHeight));
    chrome_view_->setFrame(bounds());
    for (const auto& u : underlays_)
        u.view->setFrame(bounds());
    if (list_)
        list_->setFrame(bounds());
}

SBLockScreenView::Chrome SBLockScreenView::chrome() const {
    const auto size = bounds().size;
    const double slide_top = size.height - kSlideFromBottom;
    // The chevron sits left of the centred text; the text's width is estimated from its size.
    const double text_width = kSlideTextSize * 6.6;
    const double chevron_x = (size.width - text_width) / 2 - kChevronGap - kChevronWidth;
    return {
        CGRectMake(chevron_x, slide_top + (kSlideHeight - kChevronHeight) / 2, kChevronWidth, kChevronHeight),
        CGRectMake(size.width - kCameraRight - kCameraWidth, size.height - kCameraBottom - kCameraHeight,
                   kCameraWidth, kCameraHeight)};
}

Class SBLockScreenChromeView::runtime_class() {
    static Class cls =
        ClassBuilder<SBLockScreenChromeView>("SBLockScreenChromeView", UIView::runtime_class()).get();
    return cls;
}

void SBLockScreenChromeView::draw(uikit::Canvas& canvas) const {
    auto* lock = dynamic_cast<const SBLockScreenView*>(superview());
    if (!lock)
        return;
    const auto colour = chrome_colour();
    const SBLockScreenView::Chrome c = lock->chrome();
    draw_chevron(canvas, c.chevron, kChevronStroke, colour.get());
    // The camera: a body below a small hump, and a dark lens in the middle.
    const auto& k = c.camera;
    const double hump = k.size.height * 0.2;
    canvas.fill_rect(CGRectMake(k.minX() + k.size.width * 0.35, k.minY(), k.size.width * 0.3, hump),
                     colour.get());
    canvas.fill_rect(CGRectMake(k.minX(), k.minY() + hump, k.size.width, k.size.height - hump), colour.get());
    const double lens = (k.size.height - hump) * 0.5;
    canvas.fill_rect(
        CGRectMake(k.midX() - lens / 2, k.minY() + hump + (k.size.height - hump - lens) / 2, lens, lens),
        UIColor::colorWithRGBA(0, 0, 0, 0.6).get());
}

} // namespace platform::springboard
