#include "platform/uikit/controllers/UINavigationItem.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UINavigationItem::runtime_class() {
    static Class cls =
        ClassBuilder<UINavigationItem>("UINavigationItem", NSObject::runtime_class())
            .method<&UINavigationItem::leftBarButtonItem>("leftBarButtonItem")
            .method<&UINavigationItem::setLeftBarButtonItem>("setLeftBarButtonItem:")
            .method<&UINavigationItem::setLeftBarButtonItemAnimated>("setLeftBarButtonItem:animated:")
            .method<&UINavigationItem::rightBarButtonItems>("rightBarButtonItems")
            .method<&UINavigationItem::setRightBarButtonItems>("setRightBarButtonItems:")
            .method<&UINavigationItem::setRightBarButtonItemsAnimated>("setRightBarButtonItems:animated:")
            .get();
    return cls;
}

} // namespace platform::uikit
