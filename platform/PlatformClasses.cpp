#include "platform/PlatformClasses.h"

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace platform {

void register_platform_classes() {
    foundation::NSString::runtime_class();
    foundation::NSNumber::runtime_class();
    foundation::NSMutableArray::runtime_class();
    foundation::NSMutableDictionary::runtime_class();
    foundation::NSBundle::runtime_class();
    foundation::NSTimer::runtime_class();
    uikit::UIColor::runtime_class();
    uikit::UIImage::runtime_class();
    applist::ALApplicationList::runtime_class();
}

} // namespace platform
