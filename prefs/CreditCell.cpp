#include "prefs/CreditCell.h"

#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "prefs/bundle_paths.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::CGRect;
using platform::foundation::ns;
using platform::foundation::NSString;
using platform::uikit::UIColor;
using platform::uikit::UILabel;

Class CreditCell::runtime_class() {
    static Class cls = ClassBuilder<CreditCell>("CreditCell", PSTableCell::runtime_class())
                           .method<&CreditCell::initWithStyleReuseIdentifierSpecifier>(
                               "initWithStyle:reuseIdentifier:specifier:")
                           .method<&CreditCell::loadMainView>("loadMainView")
                           .method<&CreditCell::loadOptionsView>("loadOptionsView")
                           .method<&CreditCell::bringViewAndRemove>("bringView:andRemove:")
                           .method<&CreditCell::twitterName>("twitterName")
                           .ivar("name", &CreditCell::name_)
                           .ivar("twitterName", &CreditCell::twitter_name_)
                           .ivar("jobTitle", &CreditCell::job_title_)
                           .ivar("mainDeveloperView", &CreditCell::main_developer_view_)
                           .ivar("imageStorage", &CreditCell::image_storage_)
                           .ivar("_devImageView", &CreditCell::image_view_)
                           .ivar("_devNameLabel", &CreditCell::name_label_)
                           .ivar("_jobLabel", &CreditCell::job_label_)
                           .ivar("_twitterLabel", &CreditCell::twitter_label_)
                           .ivar("optionsView", &CreditCell::options_view_)
                           .ivar("currentView", &CreditCell::current_)
                           .ivar("hiddenView", &CreditCell::hidden_)
                           .get();
    return cls;
}

namespace {
Ref<NSString> string_copy(PSSpecifier* specifier, const char* key) {
    const std::string* text = specifier ? specifier->string_property(key) : nullptr;
    return text ? ns(*text) : nullptr;
}
} // namespace

Ref<Object> CreditCell::initWithStyleReuseIdentifierSpecifier(int64_t, NSString* reuse,
                                                              PSSpecifier* specifier) {
    if (!PSTableCell::initWithStyleReuseIdentifierSpecifier(platform::preferences::UITableViewCellStyleValue1,
                                                            reuse, specifier))
        return nullptr;
    textLabel()->setText(nullptr);
    twitter_name_ = string_copy(specifier, "twitterName");
    name_ = string_copy(specifier, "name");
    job_title_ = string_copy(specifier, "jobTitle");

    image_storage_ = UIView::create<UIView>(CGRect{{10, 0}, {70, 70}});
    image_storage_->setCenter({image_storage_->center().x, contentView()->bounds().size.height / 2});
    image_storage_->setAutoresizingMask(platform::uikit::UIViewAutoresizingFlexibleTopMargin |
                                        platform::uikit::UIViewAutoresizingFlexibleBottomMargin);
    image_storage_->setClipsToBounds(true);
    image_storage_->layer()->setCornerRadius(35);
    image_storage_->setUserInteractionEnabled(false);
    contentView()->addSubview(image_storage_);

    image_view_ = UIView::create<platform::uikit::UIImageView>(image_storage_->bounds());
    image_view_->setAutoresizingMask(platform::uikit::UIViewAutoresizingFlexibleWidth |
                                     platform::uikit::UIViewAutoresizingFlexibleHeight);
    image_view_->setUserInteractionEnabled(false);
    if (const std::string* image = specifier ? specifier->string_property("devImage") : nullptr)
        image_view_->setImage(platform::uikit::UIImage::imageWithContentsOfFile(bundle_file(*image)).get());
    image_storage_->addSubview(image_view_);

    msg(this, "loadMainView"_sel);
    msg(this, "loadOptionsView"_sel);
    return Ref<Object>(this);
}

Ref<UILabel> CreditCell::make_label(double y, const std::string& text, double size, double grey) {
    auto label = UIView::create<UILabel>(CGRect{{0, y}, {main_developer_view_->bounds().size.width, 20}});
    label->setText(ns(text).get());
    label->setFont(platform::uikit::UIFont::fontWithName("Helvetica Light", size).get());
    label->setTextColor(UIColor::colorWithRGBA(grey, grey, grey, 1).get());
    label->setBackgroundColor(UIColor::clearColor().get());
    label->setAutoresizingMask(platform::uikit::UIViewAutoresizingFlexibleWidth |
                               platform::uikit::UIViewAutoresizingFlexibleHeight);
    main_developer_view_->addSubview(label);
    return label;
}

void CreditCell::loadMainView() {
    main_developer_view_ = UIView::create<UIView>(CGRect{{95, 0}, {kScreenWidth - 95, 20}});
    contentView()->addSubview(main_developer_view_);
    name_label_ = make_label(14, name_ ? name_->str() : "", 18, 1.0 / 3);
    twitter_label_ =
        make_label(35, "@" + (twitter_name_ ? twitter_name_->str() : std::string("(null)")), 13, 1.0 / 3);
    job_label_ = make_label(53, job_title_ ? job_title_->str() : "", 13, 0.5);
    current_ = main_developer_view_;
}

void CreditCell::loadOptionsView() {
    options_view_ = UIView::create<UIView>(CGRect{{kScreenWidth, 0}, {kScreenWidth - 95, 20}});
    options_view_->setBackgroundColor(UIColor::colorWithRGBA(1, 0, 0, 1).get());
    contentView()->addSubview(options_view_);
    hidden_ = options_view_;
}

void CreditCell::bringViewAndRemove(UIView* bring, UIView* remove) {
    // Views here have no animation; the slide lands at its end state at once.
    if (bring) {
        CGRect f = bring->frame();
        f.origin.x -= f.size.width;
        bring->setFrame(f);
    }
    if (remove) {
        CGRect f = remove->frame();
        f.origin.x += f.size.width;
        remove->setFrame(f);
    }
    current_ = bring;
    hidden_ = remove;
}

} // namespace zimtone::prefs
