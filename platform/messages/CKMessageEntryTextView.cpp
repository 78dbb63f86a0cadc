#include "platform/messages/CKMessageEntryTextView.h"

#include <algorithm>

#include "platform/foundation/NSString.h"
#include "platform/uikit/Canvas.h"
#include "platform/uikit/keyboard/Keyboard.h"

namespace platform::messages {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;

namespace {
constexpr double kFontSize = 16;
// Without text measurement the caret follows an average character width of the font.
constexpr double kAverageCharacterWidth = kFontSize * 0.5;
constexpr double kCaretInset = 7;

size_t characters(const std::string& utf8) {
    return std::count_if(utf8.begin(), utf8.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}
} // namespace

Class CKMessageEntryTextView::runtime_class() {
    static Class cls = ClassBuilder<CKMessageEntryTextView>("CKMessageEntryTextView", UIView::runtime_class())
                           .method<&CKMessageEntryTextView::textColor>("textColor")
                           .method<&CKMessageEntryTextView::setTextColor>("setTextColor:")
                           .method<&CKMessageEntryTextView::placeholderLabel>("placeholderLabel")
                           .method<&CKMessageEntryTextView::isFirstResponder>("isFirstResponder")
                           .method<&CKMessageEntryTextView::becomeFirstResponder>("becomeFirstResponder")
                           .method<&CKMessageEntryTextView::resignFirstResponder>("resignFirstResponder")
                           .method<&CKMessageEntryTextView::insertText>("insertText:")
                           .method<&CKMessageEntryTextView::deleteBackward>("deleteBackward")
                           .method<&CKMessageEntryTextView::hasText>("hasText")
                           .method<&CKMessageEntryTextView::text_object>("text")
                           .method<&CKMessageEntryTextView::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

CKMessageEntryTextView::CKMessageEntryTextView()
    : text_label_(make_object<UILabel>()), placeholder_(make_object<UILabel>()) {
    for (auto* label : {text_label_.get(), placeholder_.get()}) {
        label->setFont(uikit::UIFont::systemFontOfSize(kFontSize).get());
        addSubview(label);
    }
    placeholder_->setText(ns("iMessage").get());
    placeholder_->setTextColor(UIColor::colorWithRGBA(0.7, 0.7, 0.72, 1.0).get());
}

bool CKMessageEntryTextView::becomeFirstResponder() {
    if (first_responder_)
        return true;
    if (!window())
        return false;
    first_responder_ = true;
    uikit::Keyboard::show_in(window(), this);
    setNeedsDisplay();
    return true;
}

bool CKMessageEntryTextView::resignFirstResponder() {
    if (!first_responder_)
        return true;
    first_responder_ = false;
    uikit::Keyboard::dismiss();
    setNeedsDisplay();
    return true;
}

void CKMessageEntryTextView::insert_text(const std::string& text) {
    text_ += text;
    show_text();
}

void CKMessageEntryTextView::insertText(foundation::NSString* text) {
    if (!text || text->str().empty())
        return;
    insert_text(text->str());
    if (on_text_change)
        on_text_change();
}

void CKMessageEntryTextView::deleteBackward() {
    if (text_.empty())
        return;
    size_t cut = text_.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text_[cut]) & 0xC0) == 0x80)
        --cut; // back over continuation bytes to the character's first byte
    text_.erase(cut);
    show_text();
    if (on_text_change)
        on_text_change();
}

Ref<foundation::NSString> CKMessageEntryTextView::text_object() const {
    return ns(text_);
}

void CKMessageEntryTextView::show_text() {
    text_label_->setText(ns(text_).get());
    placeholder_->setHidden(!text_.empty());
    setNeedsDisplay();
}

void CKMessageEntryTextView::layoutSubviews() {
    CGRect b = bounds();
    CGRect inset = CGRectMake(kCaretInset, 0, std::max(0.0, b.size.width - 2 * kCaretInset), b.size.height);
    text_label_->setFrame(inset);
    placeholder_->setFrame(inset);
}

void CKMessageEntryTextView::draw(uikit::Canvas& canvas) const {
    if (!first_responder_)
        return;
    CGRect b = bounds();
    double x =
        std::min(kCaretInset + kAverageCharacterWidth * characters(text_), std::max(0.0, b.size.width - 2));
    canvas.fill_rect(CGRectMake(x, b.size.height * 0.2, 2, b.size.height * 0.6), tintColor());
}

} // namespace platform::messages
