// The home screen of the springboard host: the status bar, the installed apps as pages of icons,
// the page dots and the dock, over the wallpaper and below everything else on the screen. A tap
// on an icon posts a notification from its app with the composer's title and message.
#pragma once

#include <string>
#include <vector>

#include "platform/applist/AppDirectory.h"
#include "platform/foundation/Geometry.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// iOS 9 on an iPhone 6, in points. Every number of the home screen's layout lives here.
namespace home {
inline constexpr double kScreenScale = 2; // pixels per point, as every frame is drawn
inline constexpr double kStatusBarHeight = 20;
inline constexpr double kStatusBarInset = 6; // carrier and battery from the edges
inline constexpr double kStatusFontSize = 12;
inline constexpr double kBatteryWidth = 24;
inline constexpr double kBatteryHeight = 11;
inline constexpr double kBatteryCorner = 2.5;
inline constexpr double kBatteryNubWidth = 1.5;
inline constexpr double kBatteryNubHeight = 4;
inline constexpr double kBatteryTextWidth = 34; // "100%" before the glyph
inline constexpr double kBatteryTextGap = 2;

inline constexpr int kColumns = 4;
inline constexpr int kRows = 6;
inline constexpr int kIconsPerPage = kColumns * kRows;
inline constexpr double kIconSize = 60;
inline constexpr double kIconCorner = 13.5;
inline constexpr double kBlankIconWhite = 0.93; // an app without an icon file shows a blank tile
inline constexpr double kSideMargin = 27;       // screen edge to the first and last column
inline constexpr double kGridTop = 8;           // below the status bar
inline constexpr double kRowPitch = 88;         // icon top to the next row's icon top
inline constexpr double kLabelGap = 5;          // icon bottom to its name
inline constexpr double kLabelHeight = 14;
inline constexpr double kLabelFontSize = 12;
inline constexpr double kLabelOverhang = 10; // a name may be a little wider than its icon

inline constexpr int kDockApps = 4;
inline constexpr double kDockHeight = 96;
inline constexpr double kDockIconTop = 12; // dock top to its icons
inline constexpr double kDockAlpha = 0.35; // the light strip over the wallpaper

inline constexpr double kPageDotSize = 7;
inline constexpr double kPageDotGap = 9;         // between two dots' edges
inline constexpr double kPageDotsAboveDock = 14; // dots' centre above the dock's top
inline constexpr double kOtherPageDotAlpha = 0.35;

// The dock's apps, the first of them installed; others fill it up to kDockApps.
inline constexpr const char* kDockPreferred[] = {"com.apple.mobilephone", "com.apple.mobilemail",
                                                 "com.apple.mobilesafari", "com.apple.MobileSMS"};
} // namespace home

// The composer's texts until `composer` sets others.
inline constexpr const char* kDefaultComposerTitle = "Hello";
inline constexpr const char* kDefaultComposerMessage = "This banner wears its app's colour";

// Whether an installed bundle is an app a person sees and gets notifications from: not the home
// screen itself, nor a system service that only lends its views to others.
bool is_home_screen_app(const std::string& bundle_identifier);

// Where the apps go: the dock's apps, and the rest in list order on the pages.
struct HomeArrangement {
    std::vector<platform::applist::AppRecord> dock;
    std::vector<platform::applist::AppRecord> pages;
    size_t page_count() const {
        return pages.empty() ? 1 : (pages.size() + home::kIconsPerPage - 1) / home::kIconsPerPage;
    }
};
HomeArrangement arrange_home_screen(const std::vector<platform::applist::AppRecord>& installed);

// The icon of the index-th app of the pages, in its page's coordinates, and of a dock slot.
platform::foundation::CGRect page_icon_frame(size_t index);
platform::foundation::CGRect dock_icon_frame(size_t slot, size_t dock_count);

// While locked, the lock screen shows the wallpaper with no icons, dock or page dots behind it,
// and the status bar over it without its time; unlocking puts everything back.
void show_home_screen_for_lock(bool locked);

// Builds the home screen on the screen and registers `composer` and `icon`.
void set_up_home_screen(HostProcess& host);

} // namespace zimtone::sim
