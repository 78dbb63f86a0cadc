#include "platform/preferences/PSTableCell.h"

#include "platform/uikit/UIImage.h"

namespace platform::preferences {

using namespace platform::runtime;
using uikit::CGRect;

Class PSTableCell::runtime_class() {
    static Class cls = ClassBuilder<PSTableCell>("PSTableCell", uikit::UIView::runtime_class())
                           .method<&PSTableCell::initWithStyleReuseIdentifierSpecifier>(
                               "initWithStyle:reuseIdentifier:specifier:")
                           .method<&PSTableCell::style>("style")
                           .method<&PSTableCell::reuseIdentifier>("reuseIdentifier")
                           .method<&PSTableCell::specifier>("specifier")
                           .method<&PSTableCell::contentView>("contentView")
                           .method<&PSTableCell::textLabel>("textLabel")
                           .method<&PSTableCell::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

PSTableCell::PSTableCell() = default;

Ref<Object> PSTableCell::initWithStyleReuseIdentifierSpecifier(int64_t style,
                                                               foundation::NSString* reuse_identifier,
                                                               PSSpecifier* specifier) {
    initWithFrame(CGRect{{0, 0}, {kDefaultWidth, kDefaultHeight}});
    style_ = style;
    reuse_identifier_ = reuse_identifier;
    specifier_ = specifier;
    content_view_ = uikit::UIView::create<uikit::UIView>(bounds());
    addSubview(content_view_);
    text_label_ =
        uikit::UIView::create<uikit::UILabel>(CGRect{{15, 0}, {kDefaultWidth - 30, kDefaultHeight}});
    if (specifier)
        text_label_->setText(specifier->name());
    content_view_->addSubview(text_label_);
    if (specifier) {
        if (auto* icon = dynamic_cast<uikit::UIImage*>(specifier->properties()->get("iconImage").get())) {
            icon_view_ = uikit::UIView::create<uikit::UIImageView>(CGRect{{15, 7.5}, {29, 29}});
            icon_view_->setImage(icon);
            content_view_->addSubview(icon_view_);
            text_label_->setFrame(CGRect{{59, 0}, {kDefaultWidth - 74, kDefaultHeight}});
        }
    }
    return Ref<Object>(this);
}

void PSTableCell::layoutSubviews() {
    if (content_view_)
        content_view_->setFrame(bounds());
}

} // namespace platform::preferences
