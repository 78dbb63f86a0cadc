// The application-list library: installed apps, their display names and their small icons.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/applist/AppDirectory.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImage.h"

namespace platform::applist {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;

// A snapshot of the installed apps, taken when the list is made. The process-wide shared list
// reads the applications folder once, so apps installed later appear only after a restart.
// Decoded icons are kept per identifier for the life of the list; the cache is locked because
// any thread of a host may ask for an icon.
class ALApplicationList : public runtime::NSObject {
  public:
    static Class runtime_class();
    // The one list of this process, made from the device's applications folder on first use.
    static Ref<ALApplicationList> sharedApplicationList();
    static Ref<ALApplicationList> withApps(std::vector<AppRecord> apps);
    static Ref<ALApplicationList> withAppsFolder(std::string_view device_directory = kApplicationsDevicePath);

    // Bundle identifier to display name for every app, in folder order.
    Ref<foundation::NSDictionary> applications() const;
    // The display name for the key "displayName"; nil for any other key or an unknown app.
    Ref<Object> valueForKeyForDisplayIdentifier(const foundation::NSString* key,
                                                const foundation::NSString* identifier) const;
    // The small icon for size 29 at the highest scale present, its point size 29; nil for any
    // other size, an unknown app, or an app without a readable icon file.
    Ref<uikit::UIImage> iconOfSizeForDisplayIdentifier(uint64_t size, const foundation::NSString* identifier);

    const std::vector<AppRecord>& apps() const { return apps_; }
    // The installed app with this bundle identifier, nil when none has it.
    const AppRecord* find(const std::string& identifier) const;

  private:
    const AppRecord* find(const foundation::NSString* identifier) const;

    std::vector<AppRecord> apps_;
    std::unordered_map<std::string, size_t> index_;
    std::mutex icon_cache_lock_;
    std::unordered_map<std::string, Ref<uikit::UIImage>> icon_cache_; // nil entries remember "no icon"
};

} // namespace platform::applist
