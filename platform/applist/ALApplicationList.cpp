#include "platform/applist/ALApplicationList.h"

#include <cstdio>

#include "platform/uikit/png_codec.h"

namespace platform::applist {

using namespace platform::runtime;
using foundation::NSString;
using uikit::UIImage;

namespace {

constexpr std::string_view kDisplayNameValueKey = "displayName";

Ref<Object> sharedApplicationListMessage(Object*) {
    return ALApplicationList::sharedApplicationList();
}

// Icons are drawn at 29 points, 87 pixels at the most; decoding a far larger file would cost its
// full size in memory in every process that shows the app, so it is refused from its header.
constexpr uint32_t kMaxIconSide = 1024;

bool is_too_large_to_decode(const std::filesystem::path& path) {
    auto size = uikit::readPngSize(path.string());
    if (!size || (size->width <= kMaxIconSide && size->height <= kMaxIconSide))
        return false;
    std::fprintf(stderr,
                 "zimtone applist: %s is %u x %u pixels, over the %u-pixel limit of an icon; not loaded\n",
                 path.c_str(), size->width, size->height, kMaxIconSide);
    return true;
}

// Tries the icon files from the most detailed down; a damaged or oversized file gives way to the
// next one.
Ref<UIImage> load_small_icon(const AppRecord& app) {
    for (const IconFile& file : kSmallIconFiles) {
        auto path = app.bundle_folder / file.name;
        if (!std::filesystem::is_regular_file(path) || is_too_large_to_decode(path))
            continue;
        auto icon = UIImage::imageWithHostFile(path.string());
        if (!icon)
            continue;
        // The icon is always shown at 29 points, whatever pixel size the file happens to have.
        auto image = icon->image();
        image.width = kSmallIconPointSize;
        image.height = kSmallIconPointSize;
        return UIImage::withImage(std::move(image));
    }
    return nullptr;
}

} // namespace

Class ALApplicationList::runtime_class() {
    static Class cls =
        ClassBuilder<ALApplicationList>("ALApplicationList", NSObject::runtime_class())
            .class_method<&sharedApplicationListMessage>("sharedApplicationList")
            .method<&ALApplicationList::applications>("applications")
            .method<&ALApplicationList::valueForKeyForDisplayIdentifier>("valueForKey:forDisplayIdentifier:")
            .method<&ALApplicationList::iconOfSizeForDisplayIdentifier>("iconOfSize:forDisplayIdentifier:")
            .get();
    return cls;
}

Ref<ALApplicationList> ALApplicationList::sharedApplicationList() {
    // Owned by the process and never freed, like the list on the device.
    static Ref<ALApplicationList> shared = withAppsFolder();
    return shared;
}

Ref<ALApplicationList> ALApplicationList::withApps(std::vector<AppRecord> apps) {
    auto list = make_object<ALApplicationList>();
    for (auto& app : apps) {
        if (list->index_.contains(app.bundle_identifier))
            continue;
        list->index_.emplace(app.bundle_identifier, list->apps_.size());
        list->apps_.push_back(std::move(app));
    }
    return list;
}

Ref<ALApplicationList> ALApplicationList::withAppsFolder(std::string_view device_directory) {
    return withApps(read_app_directory(device_directory));
}

const AppRecord* ALApplicationList::find(const std::string& identifier) const {
    auto it = index_.find(identifier);
    return it == index_.end() ? nullptr : &apps_[it->second];
}

const AppRecord* ALApplicationList::find(const NSString* identifier) const {
    return identifier ? find(identifier->str()) : nullptr;
}

Ref<foundation::NSDictionary> ALApplicationList::applications() const {
    auto names = foundation::NSMutableDictionary::create();
    for (const auto& app : apps_)
        names->set(app.bundle_identifier, foundation::ns(app.display_name));
    return names;
}

Ref<Object> ALApplicationList::valueForKeyForDisplayIdentifier(const NSString* key,
                                                               const NSString* identifier) const {
    const AppRecord* app = find(identifier);
    if (!app || !key || key->str() != kDisplayNameValueKey)
        return nullptr;
    return foundation::ns(app->display_name);
}

Ref<UIImage> ALApplicationList::iconOfSizeForDisplayIdentifier(uint64_t size, const NSString* identifier) {
    const AppRecord* app = find(identifier);
    if (!app || size != static_cast<uint64_t>(kSmallIconPointSize))
        return nullptr;
    std::lock_guard guard(icon_cache_lock_);
    auto cached = icon_cache_.find(app->bundle_identifier);
    if (cached != icon_cache_.end())
        return cached->second;
    auto icon = load_small_icon(*app);
    icon_cache_.emplace(app->bundle_identifier, icon);
    return icon;
}

} // namespace platform::applist
