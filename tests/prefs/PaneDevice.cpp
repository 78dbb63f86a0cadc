#include "tests/prefs/PaneDevice.h"
#include "platform/foundation/NSString.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "prefs/PaneClasses.h"
#include "settings/Keys.h"
#include "sim/device/DeviceGenerator.h"

namespace zimtone::testing {

using namespace platform::runtime;
namespace fs = std::filesystem;

PaneDevice::PaneDevice() {
    zimtone::device::generate_default_device(device_.root());
    fs::path bundle = platform::foundation::resolve_device_path("/Library/PreferenceBundles/Zimtone2.bundle");
    fs::create_directories(bundle);
    for (const auto& entry : fs::directory_iterator(ZIMTONE_PREFS_RESOURCES))
        fs::copy_file(entry.path(), bundle / entry.path().filename());
    // The images are drawn at build time; tests only need some PNGs under their names.
    fs::path any_icon;
    for (const auto& entry : fs::recursive_directory_iterator(device_.root() / "Applications"))
        if (entry.path().extension() == ".png") {
            any_icon = entry.path();
            break;
        }
    for (const char* name : {"heart.png", "header.png", "portrait-mossglint.png", "portrait-quillhaven.png"})
        fs::copy_file(any_icon, bundle / name);
    zimtone::prefs::register_pane_classes();
    auto root_page = open("Zimtone2ListController");
    (void)root_page;
}

fs::path PaneDevice::settings_file() const {
    return platform::foundation::resolve_device_path(zimtone::settings::kSettingsFile);
}

void PaneDevice::write_settings(const std::string& entries) const {
    fs::create_directories(settings_file().parent_path());
    std::ofstream(settings_file())
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" << entries
        << "</dict></plist>\n";
}

std::string PaneDevice::settings_bytes() const {
    std::ifstream in(settings_file(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Ref<Object> PaneDevice::stored(const std::string& key) const {
    auto file = platform::foundation::read_dictionary_file(zimtone::settings::kSettingsFile);
    return file ? file->get(key) : nullptr;
}

platform::preferences::PSListController* PaneDevice::open(const std::string& page_class) {
    Ref<Object> instance = class_createInstance(objc_getClass(page_class.c_str()));
    Ref<Object> made = msg<Ref<Object>>(instance, "init"_sel);
    auto* page = dynamic_cast<platform::preferences::PSListController*>(made.get());
    if (!page)
        return nullptr;
    page->set_bundle_path("/Library/PreferenceBundles/Zimtone2.bundle");
    if (!navigation_)
        navigation_ = platform::uikit::UINavigationController::with_root(page);
    else
        navigation_->pushViewControllerAnimated(page, false);
    return page;
}

platform::preferences::PSListController* PaneDevice::root() const {
    return dynamic_cast<platform::preferences::PSListController*>(navigation_->stack().front().get());
}

namespace {
int64_t row_where(platform::preferences::PSListController* page,
                  const std::function<bool(platform::preferences::PSSpecifier&)>& match) {
    auto list = msg<Ref<platform::foundation::NSArray>>(page, "specifiers"_sel);
    for (uint64_t i = 0; list && i < list->count(); ++i)
        if (auto* s = dynamic_cast<platform::preferences::PSSpecifier*>(list->objectAtIndex(i).get());
            s && match(*s))
            return static_cast<int64_t>(i);
    return -1;
}
} // namespace

int64_t PaneDevice::row_of_key(platform::preferences::PSListController* page, const std::string& key) {
    return row_where(page,
                     [&](auto& s) { return s.string_property("key") && *s.string_property("key") == key; });
}

int64_t PaneDevice::row_of_label(platform::preferences::PSListController* page, const std::string& label) {
    return row_where(page, [&](auto& s) { return s.name() && s.name()->str() == label; });
}

namespace {
// Observers cannot be removed, so every log of the process registers under this one observer (a
// name registered again counts once) and the current log keeps only the names it asked for.
NotificationLog* g_log = nullptr;
int g_observer = 0;
void record(platform::foundation::CFNotificationCenterRef, void*, platform::foundation::CFStringRef name,
            const void*, platform::foundation::CFDictionaryRef) {
    if (g_log && std::find(g_log->names.begin(), g_log->names.end(), name) != g_log->names.end())
        g_log->received.push_back(name);
}
} // namespace

NotificationLog::NotificationLog(std::vector<std::string> observed) : names(std::move(observed)) {
    g_log = this;
    for (const auto& name : names)
        platform::foundation::CFNotificationCenterAddObserver(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), &g_observer, record,
            name.c_str(), nullptr, platform::foundation::CFNotificationSuspensionBehaviorDeliverImmediately);
}

NotificationLog::~NotificationLog() {
    g_log = nullptr;
}

const std::vector<std::string>& NotificationLog::wait_for(size_t count) {
    platform::foundation::RunLoop::main().run_until([&] { return received.size() >= count; }, 5);
    return received;
}

const std::vector<std::string>& NotificationLog::settle() {
    platform::foundation::RunLoop::main().run_until([] { return false; }, 0.3);
    return received;
}

} // namespace zimtone::testing
