#include "tests/banner/banner_host_support.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "colour/bridge/ColourServices.h"
#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/uikit/ViewDump.h"
#include "settings/Keys.h"
#include "sim/launcher/JsonValues.h"

namespace zimtone::testing {

namespace fs = std::filesystem;
using namespace platform::foundation;

BannerDevice::BannerDevice(const json& settings) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device_.root().string() +
                          " device init > /dev/null";
    if (std::system(command.c_str()) != 0)
        ADD_FAILURE() << "cannot set up the sample device: " << command;
    write_settings(settings);
}

void BannerDevice::write_settings(const json& settings) {
    fs::remove(device_.path(zimtone::settings::kSettingsFile));
    if (settings.empty())
        return;
    if (!write_property_list_file(zimtone::settings::kSettingsFile, zimtone::sim::object_from_json(settings)))
        ADD_FAILURE() << "cannot write the settings file";
}

void BannerDevice::post(const char* name) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr,
                                         true);
    // The datagram is already waiting on the host's socket; advancing serves it.
    run("advance 0");
}

void BannerDevice::reload_settings(const json& settings) {
    write_settings(settings);
    post(zimtone::settings::notifications::kLoadBanner);
    post(zimtone::settings::notifications::kLoadRequests);
}

HostUnderTest& BannerDevice::host() {
    if (!host_)
        restart_host();
    return *host_;
}

HostUnderTest& BannerDevice::restart_host() {
    host_.reset();
    host_ = std::make_unique<HostUnderTest>("springboard", device_.root(), /*virtual_clock*/ true);
    if (!host_->ready().is_object())
        ADD_FAILURE() << "the springboard host did not start";
    return *host_;
}

json BannerDevice::run(const std::string& line) {
    json answer = host().command(line);
    EXPECT_TRUE(answer.is_object() && answer.value("ok", false)) << line << " -> " << answer.dump();
    return answer;
}

json banner_of(const json& dump) {
    for (const auto& view : dump["screen"]["subviews"])
        if (view["class"] == "SBBannerContextView")
            return view;
    return nullptr;
}

std::vector<json> find_views(const json& tree, const std::string& class_name) {
    std::vector<json> found;
    if (!tree.is_object())
        return found;
    if (tree["class"] == class_name)
        found.push_back(tree);
    for (const auto& child : tree["subviews"]) {
        auto below = find_views(child, class_name);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

json find_view(const json& tree, const std::string& class_name) {
    auto found = find_views(tree, class_name);
    return found.empty() ? json(nullptr) : found.front();
}

std::vector<json> timers_of(const json& dump, const std::string& target_class) {
    std::vector<json> found;
    for (const auto& timer : dump["timers"])
        if (timer["target"] == target_class)
            found.push_back(timer);
    return found;
}

namespace {
Ref<platform::uikit::UIColor> dominant_colour(const std::string& bundle_identifier) {
    // A list of its own: the shared one would keep the apps of an earlier test's device.
    auto apps = platform::applist::ALApplicationList::withAppsFolder();
    auto icon = apps->iconOfSizeForDisplayIdentifier(29, ns(bundle_identifier).get());
    return zimtone::colour::bridge::getDominantColor(icon.get());
}
} // namespace

json icon_colour(const std::string& bundle_identifier) {
    return platform::uikit::dump_colour(dominant_colour(bundle_identifier).get());
}

json saturated_icon_colour(const std::string& bundle_identifier, double saturation) {
    auto colour =
        zimtone::colour::bridge::modifySaturationWith(dominant_colour(bundle_identifier).get(), saturation);
    return platform::uikit::dump_colour(colour.get());
}

json saturated(const json& colour, double saturation) {
    auto object = platform::uikit::UIColor::colorWithRGBA(colour[0], colour[1], colour[2], colour[3]);
    return platform::uikit::dump_colour(
        zimtone::colour::bridge::modifySaturationWith(object.get(), saturation).get());
}

double as_stored(double value) {
    return static_cast<double>(static_cast<float>(value));
}

} // namespace zimtone::testing
