// A home-screen host on a generated sample device, and what the banner tests read from it.
#pragma once

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace zimtone::testing {

using nlohmann::json;

// A sample device (as `zimtone device init` makes it) with an optional settings file, and a
// home-screen host on the virtual clock started on it on demand.
class BannerDevice {
  public:
    explicit BannerDevice(const json& settings = json::object());

    // Replaces the settings file (an empty object removes it).
    void write_settings(const json& settings);
    // Posts a Darwin notification and lets the host receive it.
    void post(const char* name);
    // Rewrites the settings and has the host's tweak reread the groups a banner reads (Banner
    // and Requests).
    void reload_settings(const json& settings);

    HostUnderTest& host();
    // Starts a new host, as the launcher does after a respring.
    HostUnderTest& restart_host();
    // A command that must succeed; its answer.
    json run(const std::string& line);

    const TempDevice& device() const { return device_; }

  private:
    TempDevice device_;
    std::unique_ptr<HostUnderTest> host_;
};

// The banner on screen in a dump, null when there is none.
json banner_of(const json& dump);
// The first view of the class in a subtree, depth first in subview order; null when none.
json find_view(const json& tree, const std::string& class_name);
// Every view of the class in a subtree, in the same order.
std::vector<json> find_views(const json& tree, const std::string& class_name);
// The scheduled timers whose target is of the class.
std::vector<json> timers_of(const json& dump, const std::string& target_class);

// The colour an app's icon stands for (its dominant colour at 29 points), as [r, g, b, a].
json icon_colour(const std::string& bundle_identifier);
// That colour with its saturation replaced.
json saturated_icon_colour(const std::string& bundle_identifier, double saturation);
// A colour given as [r, g, b, a] with its saturation replaced.
json saturated(const json& colour, double saturation);
// A settings value as the tweak reads it: numbers are kept in single precision.
double as_stored(double value);

} // namespace zimtone::testing
