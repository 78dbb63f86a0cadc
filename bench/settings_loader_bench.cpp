// Each settings loader rereading a typical settings file, stored as XML and as a binary plist.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchDevice.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "settings/Loaders.h"

using namespace platform::foundation;
using namespace zimtone::settings;
using platform::runtime::Object;
using platform::runtime::Ref;

namespace {

constexpr int kPerAppColours = 12;

// Every key set away from its default, as after a user has been through every page, and a
// dozen per-app colours.
Ref<NSMutableDictionary> typical_settings() {
    auto settings = NSMutableDictionary::create();
    for (const KeyInfo& info : kKeys) {
        if (info.type == KeyType::Bool)
            settings->set(std::string(info.key), NSNumber::numberWithBool(info.default_value == 0));
        else
            settings->set(std::string(info.key), NSNumber::numberWithDouble(0.7));
    }
    std::vector<Ref<Object>> colours;
    for (int i = 0; i < kPerAppColours; ++i) {
        auto entry = NSMutableDictionary::create();
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02x%02x%02x", i * 20, 255 - i * 20, 128);
        entry->set("com.example.app" + std::to_string(i), ns(hex));
        colours.push_back(entry);
    }
    settings->set(kPerAppColoursKey, NSArray::create(std::move(colours)));
    return settings;
}

using Loader = void (*)(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);

void BM_Loader(benchmark::State& run, Loader loader, PlistFormat format) {
    zimtone::bench::BenchDevice device;
    if (!write_property_list_file(kSettingsFile, typical_settings().get(), format)) {
        run.SkipWithError("cannot write the settings file");
        return;
    }
    for (auto _ : run)
        loader(nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!zimtone::settings::state().dictionary)
        run.SkipWithError("the loader did not read the file");
}

#define LOADER_BENCHMARK(name, loader, format)                                                               \
    BENCHMARK_CAPTURE(BM_Loader, name, loader, format)->Unit(benchmark::kMicrosecond)
LOADER_BENCHMARK(Banner_XML, &loadBannerSettings, PlistFormat::XML);
LOADER_BENCHMARK(Banner_Binary, &loadBannerSettings, PlistFormat::Binary);
LOADER_BENCHMARK(NotificationCenter_XML, &loadNotificationCenterSettings, PlistFormat::XML);
LOADER_BENCHMARK(NotificationCenter_Binary, &loadNotificationCenterSettings, PlistFormat::Binary);
LOADER_BENCHMARK(Lockscreen_XML, &loadLockscreenSettings, PlistFormat::XML);
LOADER_BENCHMARK(Lockscreen_Binary, &loadLockscreenSettings, PlistFormat::Binary);
LOADER_BENCHMARK(Requests_XML, &loadRequests, PlistFormat::XML);
LOADER_BENCHMARK(Requests_Binary, &loadRequests, PlistFormat::Binary);

} // namespace
