// The banner hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/banner/BannerBackground.h"
#include "tweak/banner/BannerForeground.h"

namespace zimtone::tweak {

using platform::runtime::imp_cast;
namespace b = banner;

HookGroup banner_group() {
    static const HookRow rows[] = {
        { "SBBannerContextView", "setTestBlur:", HookKind::Add, imp_cast(&property_setter<"testBlur">), nullptr, "v@:@" },
        { "SBBannerContextView", "testBlur", HookKind::Add, imp_cast(&property_getter<"testBlur">), nullptr, "@@:" },
        { "SBBannerContextView", "setColorChangerTimer:", HookKind::Add,
          imp_cast(&property_setter<"colorChangerTimer">), nullptr, "v@:@" },
        { "SBBannerContextView", "colorChangerTimer", HookKind::Add, imp_cast(&property_getter<"colorChangerTimer">),
          nullptr, "@@:" },
        { "SBBannerContextView", "changeBlurColor", HookKind::Add, imp_cast(&b::changeBlurColor), nullptr, "v@:" },
        { "SBBannerContextView", "addBackgroundWithImage:andAppName:", HookKind::Add,
          imp_cast(&b::addBackgroundWithImage_andAppName), nullptr, "v@:@@" },
        { "SBBannerContextView", "noteDidDismissWithReason:", HookKind::Replace, imp_cast(&b::noteDidDismissWithReason),
          &b::original_noteDidDismissWithReason, nullptr },
        { "SBBannerContextView", "setBannerContext:withReplaceReason:", HookKind::Replace,
          imp_cast(&b::setBannerContext_withReplaceReason), &b::original_setBannerContext, nullptr },
        { "SBBannerContextView", "layoutSubviews", HookKind::Replace, imp_cast(&b::layoutSubviews),
          &b::original_layoutSubviews, nullptr },
        { "SBLockScreenNotificationBulletinBannerItem", "setSeedBulletin:", HookKind::Add,
          imp_cast(&property_setter<"seedBulletin">), nullptr, "v@:@" },
        { "SBLockScreenNotificationBulletinBannerItem", "seedBulletin", HookKind::Add,
          imp_cast(&property_getter<"seedBulletin">), nullptr, "@@:" },
        { "SBNotificationVibrantButton", "setOverlayButtonTitleColor:", HookKind::Add,
          imp_cast(&b::setOverlayButtonTitleColor), nullptr, "v@:@" },
        { "SBNotificationVibrantButton", "layoutSubviews", HookKind::Replace, imp_cast(&b::vibrantButtonLayoutSubviews),
          &b::original_vibrantButtonLayoutSubviews, nullptr },
        { "SBDefaultBannerTextView", "changeAttributesOf:", HookKind::Add, imp_cast(&b::changeAttributesOf), nullptr,
          "@@:@" },
        { "SBDefaultBannerTextView", "layoutSubviews", HookKind::Replace, imp_cast(&b::textViewLayoutSubviews),
          &b::original_textViewLayoutSubviews, nullptr },
    };
    return { "Banner", rows };
}

} // namespace zimtone::tweak
