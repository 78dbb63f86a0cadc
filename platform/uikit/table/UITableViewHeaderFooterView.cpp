#include "platform/uikit/table/UITableViewHeaderFooterView.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UITableViewHeaderFooterView::runtime_class() {
    static Class cls =
        ClassBuilder<UITableViewHeaderFooterView>("UITableViewHeaderFooterView", UIView::runtime_class())
            .method<&UITableViewHeaderFooterView::contentView>("contentView")
            .method<&UITableViewHeaderFooterView::reuseIdentifier>("reuseIdentifier")
            .method<&UITableViewHeaderFooterView::layoutSubviews>("layoutSubviews")
            .get();
    return cls;
}

UITableViewHeaderFooterView::UITableViewHeaderFooterView() : content_view_(make_object<UIView>()) {
    addSubview(content_view_.get());
}

void UITableViewHeaderFooterView::layoutSubviews() {
    content_view_->setFrame(bounds());
}

} // namespace platform::uikit
