#include "prefs/Zimtone2Credits.h"

#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIApplication.h"
#include "prefs/CreditCell.h"
#include "prefs/profile_links.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::NSURL;

Class Zimtone2Credits::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2Credits> builder("Zimtone2Credits", PSListController::runtime_class());
        add_page_methods(builder)
            .method<&Zimtone2Credits::tableViewDidSelectRowAtIndexPath>("tableView:didSelectRowAtIndexPath:")
            .method<&Zimtone2Credits::follow>("follow:");
        return builder.get();
    }();
    return cls;
}

void Zimtone2Credits::tableViewDidSelectRowAtIndexPath(Object* table,
                                                       platform::preferences::PSIndexPath* path) {
    Ref<Object> cell = tableViewCellForRowAtIndexPath(table, path);
    if (auto* credit = dynamic_cast<CreditCell*>(cell.get())) {
        follow(credit->twitterName());
        return;
    }
    PSListController::tableViewDidSelectRowAtIndexPath(table, path);
}

void Zimtone2Credits::follow(platform::foundation::NSString* screen_name) {
    if (!screen_name)
        return;
    auto& app = platform::uikit::UIApplication::shared();
    std::string url = profile_url(screen_name->str(), [&](const std::string& probe) {
        auto probe_url = NSURL::URLWithString(probe);
        return probe_url && app.canOpenURL(probe_url.get());
    });
    if (auto target = NSURL::URLWithString(url))
        app.openURL(target.get());
}

} // namespace zimtone::prefs
