#include "prefs/Zimtone2ListController.h"

#include "platform/foundation/NSURL.h"
#include "platform/preferences/SLComposeViewController.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/controllers/UIBarButtonItem.h"
#include "platform/uikit/controllers/UINavigationController.h"
#include "platform/uikit/controllers/UINavigationItem.h"
#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::ns;
using platform::uikit::UIBarButtonItem;

Class HeartTarget::runtime_class() {
    static Class cls = ClassBuilder<HeartTarget>("Zimtone2HeartTarget", NSObject::runtime_class())
                           .method<&HeartTarget::heartBeat>("heartBeat")
                           .get();
    return cls;
}

void HeartTarget::heartBeat() {
    if (page)
        page->heartBeat();
}

Zimtone2ListController::~Zimtone2ListController() {
    if (heart_target_)
        heart_target_->page = nullptr;
}

Class Zimtone2ListController::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2ListController> builder("Zimtone2ListController",
                                                     PSListController::runtime_class());
        add_page_methods(builder)
            .method<&Zimtone2ListController::specifiers>("specifiers")
            .method<&Zimtone2ListController::respringNeededActivate>("respringNeededActivate")
            .method<&Zimtone2ListController::callRespring>("callRespring")
            .method<&Zimtone2ListController::heartBeat>("heartBeat");
        return builder.get();
    }();
    return cls;
}

Ref<NSArray> Zimtone2ListController::specifiers() {
    bool first = !specifiers_;
    Ref<NSArray> rows = SettingsPage::specifiers();
    if (first)
        set_up_navigation_bar();
    return rows;
}

void Zimtone2ListController::set_up_navigation_bar() {
    using namespace platform::uikit;
    auto heart = UIImage::imageWithContentsOfFile(kHeartImage);
    Ref<Object> button =
        msg<Ref<Object>>(UIButton::runtime_class(), "buttonWithType:"_sel, int64_t{UIButtonTypeSystem});
    msg(button, "setFrame:"_sel, CGRect{{0, 0}, {20, 20}});
    msg(button, "setBackgroundImage:forState:"_sel, static_cast<Object*>(heart.get()),
        uint64_t{UIControlStateNormal});
    msg(button, "setTintColor:"_sel, static_cast<Object*>(view()->tintColor()));
    msg(button, "setShowsTouchWhenHighlighted:"_sel, true);
    if (!heart_target_) {
        heart_target_ = make_object<HeartTarget>();
        heart_target_->page = this;
    }
    msg(button, "addTarget:action:forControlEvents:"_sel, static_cast<Object*>(heart_target_.get()),
        "heartBeat"_sel, uint64_t{UIControlEventTouchUpInside});
    auto heart_item = make_object<UIBarButtonItem>();
    heart_item->initWithCustomView(dynamic_cast<UIView*>(button.get()));
    auto space = make_object<UIBarButtonItem>();
    space->initWithBarButtonSystemItemTargetAction(UIBarButtonSystemItemFixedSpace, nullptr, nullptr);
    space->setWidth(0);
    navigationItem()->setRightBarButtonItemsAnimated(
        platform::foundation::NSArray::create({space, heart_item}), false);
}

void Zimtone2ListController::respringNeededActivate() {
    auto item = make_object<UIBarButtonItem>();
    item->initWithTitleStyleTargetAction(ns("Respring").get(), platform::uikit::UIBarButtonItemStylePlain,
                                         this, "callRespring"_sel);
    navigationItem()->setLeftBarButtonItem(item.get());
}

void Zimtone2ListController::callRespring() {
    post_darwin_notification(zimtone::settings::notifications::kRespring);
}

void Zimtone2ListController::heartBeat() {
    using platform::preferences::SLComposeViewController;
    auto sheet = SLComposeViewController::composeViewControllerForServiceType(
        platform::preferences::SLServiceTypeTwitter);
    if (!sheet)
        return;
    sheet->setInitialText(ns(kShareText).get());
    sheet->addURL(platform::foundation::NSURL::URLWithString(kShareLink).get());
    if (auto* nav = navigationController())
        nav->presentViewControllerAnimatedCompletion(sheet.get(), true, nullptr);
}

} // namespace zimtone::prefs
