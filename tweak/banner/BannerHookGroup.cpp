// The banner hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/banner/BannerBackground.h"
#include "tweak/banner/BannerForeground.h"

namespace zimtone::tweak {

namespace b = banner;

HookGroup banner_group() {
    static const HookRow rows[] = {
        add<&property_setter<"testBlur">>("SBBannerContextView", "setTestBlur:"),
        add<&property_getter<"testBlur">>("SBBannerContextView", "testBlur"),
        add<&property_setter<"colorChangerTimer">>("SBBannerContextView", "setColorChangerTimer:"),
        add<&property_getter<"colorChangerTimer">>("SBBannerContextView", "colorChangerTimer"),
        add<&b::changeBlurColor>("SBBannerContextView", "changeBlurColor"),
        add<&b::addBackgroundWithImage_andAppName>("SBBannerContextView",
                                                   "addBackgroundWithImage:andAppName:"),
        replace<&b::noteDidDismissWithReason>(
            "SBBannerContextView", "noteDidDismissWithReason:", &b::original_noteDidDismissWithReason),
        replace<&b::setBannerContext_withReplaceReason>(
            "SBBannerContextView", "setBannerContext:withReplaceReason:", &b::original_setBannerContext),
        replace<&b::layoutSubviews>("SBBannerContextView", "layoutSubviews", &b::original_layoutSubviews),
        add<&property_setter<"seedBulletin">>("SBLockScreenNotificationBulletinBannerItem",
                                              "setSeedBulletin:"),
        add<&property_getter<"seedBulletin">>("SBLockScreenNotificationBulletinBannerItem", "seedBulletin"),
        add<&b::setOverlayButtonTitleColor>("SBNotificationVibrantButton", "setOverlayButtonTitleColor:"),
        replace<&b::vibrantButtonLayoutSubviews>("SBNotificationVibrantButton", "layoutSubviews",
                                                 &b::original_vibrantButtonLayoutSubviews),
        add<&b::changeAttributesOf>("SBDefaultBannerTextView", "changeAttributesOf:"),
        replace<&b::textViewLayoutSubviews>("SBDefaultBannerTextView", "layoutSubviews",
                                            &b::original_textViewLayoutSubviews),
    };
    return {"Banner", rows};
}

} // namespace zimtone::tweak
