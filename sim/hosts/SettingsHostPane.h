// The Settings app's side of the pane: the navigation stack holding the bundle's pages, a JSON
// picture of what is on screen, and the user's actions (tap, toggle, slide, text, buttons)
// delivered to the pages' own code. Main thread only.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/preferences/PSListController.h"
#include "platform/uikit/controllers/UIBarButtonItem.h"
#include "platform/uikit/controllers/UINavigationController.h"

namespace zimtone::sim {

inline constexpr const char* kPaneBundleDir = "/Library/PreferenceBundles/Zimtone2.bundle";

class SettingsHostPane {
  public:
    // Loads the plug-in named by the bundle's Info.plist and makes its principal page the root.
    // False with the reason in `error` when the bundle is missing or has no such page.
    bool load(std::string* error);
    bool loaded() const { return navigation_ != nullptr; }

    // {"title", "depth", "respring", "heart", "rows": [...], "alert", "share", "openedURLs"};
    // "respring" is the root page's Respring button, shown on every page once a change needs it.
    nlohmann::json page() const;
    // One action of the page: {"type": "tap"|"set"|"back"|"respring"|"heart"|"alert"|"share", ...}.
    // The new page on success, else a readable error.
    nlohmann::json act(const nlohmann::json& action, std::string* error);

  private:
    // One method per action type, each answering false with the reason in `error`.
    bool tap(const nlohmann::json& action, std::string* error);
    bool set(const nlohmann::json& action, std::string* error);
    bool back(const nlohmann::json& action, std::string* error);
    bool respring(const nlohmann::json& action, std::string* error);
    bool heart(const nlohmann::json& action, std::string* error);
    bool alert(const nlohmann::json& action, std::string* error);
    bool share(const nlohmann::json& action, std::string* error);

    platform::uikit::UIBarButtonItem* respring_button() const;
    platform::preferences::PSListController* top() const;
    platform::uikit::UIViewController* presented() const;
    nlohmann::json row(platform::preferences::PSListController* page, int64_t index) const;

    platform::runtime::Ref<platform::uikit::UINavigationController> navigation_;
    std::vector<std::string> titles_;
    void* library_{nullptr};
};

} // namespace zimtone::sim
