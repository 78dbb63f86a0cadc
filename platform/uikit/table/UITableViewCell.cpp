#include "platform/uikit/table/UITableViewCell.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
constexpr double kTextInset = 15;
}

Class UITableViewCell::runtime_class() {
    static Class cls = ClassBuilder<UITableViewCell>("UITableViewCell", UIView::runtime_class())
                           .method<&UITableViewCell::contentView>("contentView")
                           .method<&UITableViewCell::textLabel>("textLabel")
                           .method<&UITableViewCell::reuseIdentifier>("reuseIdentifier")
                           .method<&UITableViewCell::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

UITableViewCell::UITableViewCell()
    : content_view_(make_object<UIView>()), text_label_(make_object<UILabel>()) {
    addSubview(content_view_.get());
    content_view_->addSubview(text_label_.get());
}

void UITableViewCell::layoutSubviews() {
    CGRect b = bounds();
    content_view_->setFrame(b);
    text_label_->setFrame(
        foundation::CGRectMake(kTextInset, 0, std::max(0.0, b.size.width - 2 * kTextInset), b.size.height));
}

} // namespace platform::uikit
