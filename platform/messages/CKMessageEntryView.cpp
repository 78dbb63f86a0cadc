#include "platform/messages/CKMessageEntryView.h"

#include <algorithm>

#include "platform/foundation/NSString.h"

namespace platform::messages {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;
using uikit::UIButtonTypeSystem;
using uikit::UIControlStateNormal;

namespace {
constexpr double kMargin = 6;
constexpr double kAudioWidth = 32;
constexpr double kSendWidth = 54;

Ref<UIButton> system_button(const char* title) {
    auto button =
        msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel, int64_t{UIButtonTypeSystem});
    if (button)
        button->setTitleForState(ns(title).get(), UIControlStateNormal);
    return button;
}
} // namespace

Class CKMessageEntryView::runtime_class() {
    static Class cls = ClassBuilder<CKMessageEntryView>("CKMessageEntryView", UIView::runtime_class())
                           .method<&CKMessageEntryView::sendButton>("sendButton")
                           .method<&CKMessageEntryView::audioButton>("audioButton")
                           .method<&CKMessageEntryView::contentView>("contentView")
                           .method<&CKMessageEntryView::layoutSubviews>("layoutSubviews")
                           .ivar("_coverView", &CKMessageEntryView::cover_view_)
                           .get();
    return cls;
}

CKMessageEntryView::CKMessageEntryView()
    : cover_view_(make_object<CKMessageEntryCoverView>()),
      content_view_(make_object<CKMessageEntryContentView>()), send_button_(system_button("Send")),
      audio_button_(system_button("●")) {
    setBackgroundColor(UIColor::colorWithRGBA(0.97, 0.97, 0.97, 1.0).get());
    for (UIView* child : std::initializer_list<UIView*>{cover_view_.get(), content_view_.get(),
                                                        send_button_.get(), audio_button_.get()})
        addSubview(child);
}

void CKMessageEntryView::layoutSubviews() {
    CGRect b = bounds();
    double field_x = kMargin * 2 + kAudioWidth;
    double field_width = std::max(0.0, b.size.width - field_x - kSendWidth - kMargin * 2);
    CGRect field = CGRectMake(field_x, kMargin, field_width, std::max(0.0, b.size.height - 2 * kMargin));
    cover_view_->setFrame(field);
    content_view_->setFrame(field);
    if (audio_button_)
        audio_button_->setFrame(CGRectMake(kMargin, kMargin, kAudioWidth, field.size.height));
    if (send_button_)
        send_button_->setFrame(
            CGRectMake(b.size.width - kMargin - kSendWidth, kMargin, kSendWidth, field.size.height));
}

} // namespace platform::messages
