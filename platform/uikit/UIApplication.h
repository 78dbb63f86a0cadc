// The application object: URL opening against the schemes the host says are installed, and
// the home screen's restart request.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/NSURL.h"
#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using platform::runtime::Class;
using platform::runtime::Ref;

// One per process. The host fills installed_url_schemes (lower case; the web schemes are
// there from the start, as a device always has its browser) and reads opened_urls.
class UIApplication : public runtime::NSObject {
  public:
    static Class runtime_class();
    static UIApplication& shared();

    UIApplication() = default;

    // YES when an app is installed for the URL's scheme; schemes compare without case.
    bool canOpenURL(const foundation::NSURL* url) const;
    // Records and reports YES for a URL that canOpenURL: accepts, else does nothing.
    bool openURL(const foundation::NSURL* url);
    // Runs the host's restart handler; nothing happens when none is installed.
    void relaunchSpringBoardNow();

    std::set<std::string> installed_url_schemes{"http", "https"};
    std::vector<std::string> opened_urls;
    std::function<void()> on_relaunch_springboard;
};

} // namespace platform::uikit
