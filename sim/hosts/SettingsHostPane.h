// The Settings app's side of the pane: the navigation stack holding the bundle's pages, a JSON
// picture of what is on screen, and the user's actions (tap, toggle, slide, text, buttons)
// delivered to the pages' own code. Main thread only.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/Result.h"
#include "platform/preferences/PSListController.h"
#include "platform/uikit/controllers/UIBarButtonItem.h"
#include "platform/uikit/controllers/UINavigationController.h"

namespace zimtone::sim {

inline constexpr const char* kPaneBundleDir = "/Library/PreferenceBundles/Zimtone2.bundle";

class SettingsHostPane {
  public:
    // Loads the plug-in named by the bundle's Info.plist and makes its principal page the root.
    // A failure saying why when the bundle is missing or has no such page.
    platform::foundation::Result<void> load();
    bool loaded() const { return navigation_ != nullptr; }

    // {"title", "depth", "respring", "heart", "rows": [...], "alert", "share", "openedURLs"};
    // "respring" is the root page's Respring button, shown on every page once a change needs it.
    nlohmann::json page() const;
    // One action of the page: {"type": "tap"|"set"|"back"|"respring"|"heart"|"alert"|"share", ...}.
    // The new page on success, else a readable error.
    platform::foundation::Result<nlohmann::json> act(const nlohmann::json& action);

  private:
    // One method per action type, each failing with the reason.
    platform::foundation::Result<void> tap(const nlohmann::json& action);
    platform::foundation::Result<void> set(const nlohmann::json& action);
    platform::foundation::Result<void> back(const nlohmann::json& action);
    platform::foundation::Result<void> respring(const nlohmann::json& action);
    platform::foundation::Result<void> heart(const nlohmann::json& action);
    platform::foundation::Result<void> alert(const nlohmann::json& action);
    platform::foundation::Result<void> share(const nlohmann::json& action);

    platform::uikit::UIBarButtonItem* respring_button() const;
    platform::preferences::PSListController* top() const;
    platform::uikit::UIViewController* presented() const;
    nlohmann::json row(platform::preferences::PSListController* page, int64_t index) const;

    platform::runtime::Ref<platform::uikit::UINavigationController> navigation_;
    std::vector<std::string> titles_;
    void* library_{nullptr};
};

} // namespace zimtone::sim
