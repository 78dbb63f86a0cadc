// System bundle identifiers that never take part in app lists: the tweak's random test apps
// and the pane's app rows both leave them out (the pane two more).
#pragma once

#include <array>
#include <string_view>

namespace zimtone::settings {

inline constexpr std::array<std::string_view, 51> kExcludedSystemApps = {
    "com.apple.AdSheet",
    "com.apple.AdSheetPhone",
    "com.apple.AdSheetPad",
    "com.apple.DataActivation",
    "com.apple.DemoApp",
    "com.apple.Diagnostics",
    "com.apple.fieldtest",
    "com.apple.iosdiagnostics",
    "com.apple.iphoneos.iPodOut",
    "com.apple.TrustMe",
    "com.apple.WebSheet",
    "com.apple.springboard",
    "com.apple.purplebuddy",
    "com.apple.datadetectors.DDActionsService",
    "com.apple.FacebookAccountMigrationDialog",
    "com.apple.iad.iAdOptOut",
    "com.apple.ios.StoreKitUIService",
    "com.apple.TextInput.kbd",
    "com.apple.MailCompositionService",
    "com.apple.mobilesms.compose",
    "com.apple.quicklook.quicklookd",
    "com.apple.ShoeboxUIService",
    "com.apple.social.remoteui.SocialUIService",
    "com.apple.WebViewService",
    "com.apple.gamecenter.GameCenterUIService",
    "com.apple.appleaccount.AACredentialRecoveryDialog",
    "com.apple.CompassCalibrationViewService",
    "com.apple.WebContentFilter.remoteUI.WebContentAnalysisUI",
    "com.apple.PassbookUIService",
    "com.apple.uikit.PrintStatus",
    "com.apple.Copilot",
    "com.apple.MusicUIService",
    "com.apple.AccountAuthenticationDialog",
    "com.apple.MobileReplayer",
    "com.apple.SiriViewService",
    "com.apple.TencentWeiboAccountMigrationDialog",
    "com.apple.AskPermissionUI",
    "com.apple.CoreAuthUI",
    "com.apple.family",
    "com.apple.mobileme.fmip1",
    "com.apple.GameController",
    "com.apple.HealthPrivacyService",
    "com.apple.InCallService",
    "com.apple.mobilesms.notification",
    "com.apple.PhotosViewService",
    "com.apple.PreBoard",
    "com.apple.PrintKit.Print-Center",
    "com.apple.share",
    "com.apple.SharedWebCredentialViewService",
    "com.apple.webapp",
    "com.apple.webapp1",
};

// The pane's list hides these as well.
inline constexpr std::array<std::string_view, 2> kExcludedByPaneOnly = {
    "com.apple.CloudKit.ShareBear",
    "com.apple.social.SLGoogleAuth",
};

// Exact, case-sensitive membership.
bool is_excluded_system_app(std::string_view identifier);
bool is_excluded_from_pane(std::string_view identifier);

} // namespace zimtone::settings
