// A credit row: a round portrait, and beside it the person's name, Twitter handle and job.
#pragma once

#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

namespace zimtone::prefs {

using platform::preferences::PSSpecifier;
using platform::preferences::PSTableCell;
using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::uikit::UIView;

class CreditCell : public PSTableCell {
  public:
    static Class runtime_class();
    // The width of the main screen's bounds.
    static constexpr double kScreenWidth = 375;

    Ref<Object> initWithStyleReuseIdentifierSpecifier(int64_t style, platform::foundation::NSString* reuse,
                                                      PSSpecifier* specifier);
    void loadMainView();
    void loadOptionsView();
    // Slides `bring` in from the right and `remove` out; the panels swap roles afterwards.
    void bringViewAndRemove(UIView* bring, UIView* remove);

    platform::foundation::NSString* twitterName() const { return twitter_name_.get(); }
    platform::foundation::NSString* name() const { return name_.get(); }
    platform::foundation::NSString* jobTitle() const { return job_title_.get(); }
    platform::uikit::UILabel* devNameLabel() const { return name_label_.get(); }
    platform::uikit::UILabel* twitterLabel() const { return twitter_label_.get(); }
    platform::uikit::UILabel* jobLabel() const { return job_label_.get(); }
    platform::uikit::UIImageView* devImageView() const { return image_view_.get(); }
    UIView* currentView() const { return current_.get(); }
    UIView* hiddenView() const { return hidden_.get(); }

  private:
    Ref<platform::uikit::UILabel> make_label(double y, const std::string& text, double size, double grey);

    Ref<platform::foundation::NSString> name_;
    Ref<platform::foundation::NSString> twitter_name_;
    Ref<platform::foundation::NSString> job_title_;
    Ref<UIView> main_developer_view_;
    Ref<UIView> image_storage_;
    Ref<platform::uikit::UIImageView> image_view_;
    Ref<platform::uikit::UILabel> name_label_;
    Ref<platform::uikit::UILabel> job_label_;
    Ref<platform::uikit::UILabel> twitter_label_;
    Ref<UIView> options_view_;
    Ref<UIView> current_;
    Ref<UIView> hidden_;
};

} // namespace zimtone::prefs
