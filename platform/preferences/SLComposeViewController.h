// The share sheet of the Social framework: an initial text and links for one service.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/controllers/UIViewController.h"

namespace platform::preferences {

inline constexpr const char* SLServiceTypeTwitter = "com.apple.social.twitter";

// Which services have an account is the host's configuration (available_services); a service
// without one gets no sheet.
class SLComposeViewController : public uikit::UIViewController {
  public:
    static runtime::Class runtime_class();
    static std::set<std::string>& available_services();
    // nil when the service is not available.
    static runtime::Ref<SLComposeViewController>
    composeViewControllerForServiceType(const std::string& service);

    const std::string& service_type() const { return service_; }
    // YES; a sheet accepts any text.
    bool setInitialText(foundation::NSString* text);
    const std::string& initial_text() const { return text_; }
    bool addURL(foundation::NSURL* url);
    bool addImage(uikit::UIImage* image);
    const std::vector<std::string>& urls() const { return urls_; }
    size_t image_count() const { return images_.size(); }

  private:
    std::string service_;
    std::string text_;
    std::vector<std::string> urls_;
    std::vector<runtime::Ref<uikit::UIImage>> images_;
};

} // namespace platform::preferences
