#include "platform/PlatformClasses.h"

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform {

void register_platform_classes() {
    foundation::NSString::runtime_class();
    foundation::NSNumber::runtime_class();
    foundation::NSMutableArray::runtime_class();
    foundation::NSMutableDictionary::runtime_class();
    foundation::NSBundle::runtime_class();
    foundation::NSTimer::runtime_class();
    foundation::NSMutableAttributedString::runtime_class();
    foundation::NSURL::runtime_class();
    uikit::UIColor::runtime_class();
    uikit::UIFont::runtime_class();
    uikit::CAGradientLayer::runtime_class();
    uikit::UIWindow::runtime_class();
    uikit::UILabel::runtime_class();
    uikit::UIButton::runtime_class();
    uikit::UIImageView::runtime_class();
    uikit::UIBackdropView::runtime_class();
    uikit::UIApplication::runtime_class();
    uikit::UIImage::runtime_class();
    applist::ALApplicationList::runtime_class();
}

} // namespace platform
