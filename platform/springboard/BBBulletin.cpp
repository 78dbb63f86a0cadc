#include "platform/springboard/BBBulletin.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
Ref<Object> actionMessage(Object*) {
    return BBAction::action();
}
} // namespace

Class BBAction::runtime_class() {
    static Class cls = ClassBuilder<BBAction>("BBAction", NSObject::runtime_class())
                           .class_method<&actionMessage>("action")
                           .get();
    return cls;
}

Ref<BBAction> BBAction::action() {
    return make_object<BBAction>();
}

Class BBBulletin::runtime_class() {
    static Class cls = ClassBuilder<BBBulletin>("BBBulletin", NSObject::runtime_class())
                           .method<&BBBulletin::title>("title")
                           .method<&BBBulletin::setTitle>("setTitle:")
                           .method<&BBBulletin::subtitle>("subtitle")
                           .method<&BBBulletin::setSubtitle>("setSubtitle:")
                           .method<&BBBulletin::message>("message")
                           .method<&BBBulletin::setMessage>("setMessage:")
                           .method<&BBBulletin::sectionID>("sectionID")
                           .method<&BBBulletin::setSectionID>("setSectionID:")
                           .method<&BBBulletin::bulletinID>("bulletinID")
                           .method<&BBBulletin::setBulletinID>("setBulletinID:")
                           .method<&BBBulletin::defaultAction>("defaultAction")
                           .method<&BBBulletin::setDefaultAction>("setDefaultAction:")
                           .get();
    return cls;
}

Class BBBulletinRequest::runtime_class() {
    static Class cls =
        ClassBuilder<BBBulletinRequest>("BBBulletinRequest", BBBulletin::runtime_class()).get();
    return cls;
}

Ref<BBBulletin> BBBulletin::make(const std::string& section_id, const std::string& title,
                                 const std::string& message) {
    auto b = make_object<BBBulletinRequest>();
    b->setSectionID(foundation::ns(section_id));
    b->setTitle(foundation::ns(title));
    b->setMessage(foundation::ns(message));
    b->setDefaultAction(BBAction::action());
    return b;
}

} // namespace platform::springboard
