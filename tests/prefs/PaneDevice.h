// A device for pane tests: a throw-away root holding sample apps and the bundle's rows resources
// and images, with the pane's classes registered, and helpers to open pages as the Settings app does.
#pragma once

#include <string>
#include <vector>

#include "platform/preferences/PSListController.h"
#include "platform/uikit/controllers/UINavigationController.h"
#include "tests/support/TempDevice.h"

namespace zimtone::testing {

class PaneDevice {
  public:
    PaneDevice();

    const std::filesystem::path& device_root() const { return device_.root(); }
    std::filesystem::path settings_file() const;
    // Writes the settings file from XML dictionary entries ("<key>BannerAlpha</key><real>0.5</real>").
    void write_settings(const std::string& entries) const;
    // The settings file's bytes as they are on disk; empty when it is absent.
    std::string settings_bytes() const;
    // The settings file's value, nil when the file or key is absent.
    platform::runtime::Ref<platform::runtime::Object> stored(const std::string& key) const;

    // A page made by class name with the bundle path set, pushed above the root page when the
    // class is not the root page itself.
    platform::preferences::PSListController* open(const std::string& page_class);
    platform::preferences::PSListController* root() const;
    platform::uikit::UINavigationController* navigation() const { return navigation_.get(); }

    // The row whose "key" property is the key; -1 when none.
    static int64_t row_of_key(platform::preferences::PSListController* page, const std::string& key);
    static int64_t row_of_label(platform::preferences::PSListController* page, const std::string& label);

  private:
    TempDevice device_;
    platform::runtime::Ref<platform::uikit::UINavigationController> navigation_;
};

// Records the Darwin notifications of the given names that reach this process.
class NotificationLog {
  public:
    explicit NotificationLog(std::vector<std::string> names);
    ~NotificationLog();
    // Serves the run loop until `count` notifications arrived or a few seconds passed.
    const std::vector<std::string>& wait_for(size_t count);
    // Serves the run loop briefly and answers what arrived.
    const std::vector<std::string>& settle();
    std::vector<std::string> names;
    std::vector<std::string> received;
};

} // namespace zimtone::testing
