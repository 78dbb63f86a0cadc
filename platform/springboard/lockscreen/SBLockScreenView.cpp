#include "platform/springboard/lockscreen/SBLockScreenView.h"

#include <algorithm>

#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/RunLoop.h"

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
      slide_(centred_label("slide to unlock", UIFont::systemFontOfSize(20))) {
    addSubview(clock_);
    addSubview(date_);
    addSubview(slide_);
}

void SBLockScreenView::addLockContentUnderlayWithRequester(const Object* requester) {
    const std::string* name = requester_name(requester);
    if (!name)
        return;
    for (const auto& u : underlays_)
        if (u.requester == *name)
            return;
    auto view = UIView::create<UIView>(bounds());
    view->setBackgroundColor(UIColor::colorWithRGBA(0, 0, 0, 0.35));
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
    clock_->setFrame(CGRectMake(0, 60, width, 86));
    date_->setFrame(CGRectMake(0, 146, width, 24));
    slide_->setFrame(CGRectMake(0, height - 50, width, 30));
    for (const auto& u : underlays_)
        u.view->setFrame(bounds());
    if (list_)
        list_->setFrame(bounds());
}

} // namespace platform::springboard
