#include "platform/messages/CKMessageEntryContentView.h"

namespace platform::messages {

using namespace platform::runtime;

Class CKMessageEntryContentView::runtime_class() {
    static Class cls =
        ClassBuilder<CKMessageEntryContentView>("CKMessageEntryContentView", UIView::runtime_class())
            .method<&CKMessageEntryContentView::textView>("textView")
            .method<&CKMessageEntryContentView::layoutSubviews>("layoutSubviews")
            .get();
    return cls;
}

CKMessageEntryContentView::CKMessageEntryContentView() : text_view_(make_object<CKMessageEntryTextView>()) {
    addSubview(text_view_.get());
}

void CKMessageEntryContentView::layoutSubviews() {
    text_view_->setFrame(bounds());
}

} // namespace platform::messages
