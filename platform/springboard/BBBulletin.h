// Bulletins: what an app posts to the home screen. BBBulletinRequest is the kind apps (and the
// tweak's test command) create; BBAction is the action a bulletin opens.
#pragma once

#include <string>

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

using foundation::NSString;
using runtime::Class;
using runtime::Object;
using runtime::Ref;

class BBAction : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<BBAction> action();
};

class BBBulletin : public runtime::NSObject {
  public:
    static Class runtime_class();
    // A C++ convenience for hosts and tests: a request with its section, title and message.
    static Ref<BBBulletin> make(const std::string& section_id, const std::string& title,
                                const std::string& message);

    Ref<NSString> title() const { return title_; }
    void setTitle(NSString* v) { title_ = v; }
    Ref<NSString> subtitle() const { return subtitle_; }
    void setSubtitle(NSString* v) { subtitle_ = v; }
    Ref<NSString> message() const { return message_; }
    void setMessage(NSString* v) { message_ = v; }
    Ref<NSString> sectionID() const { return section_id_; }
    void setSectionID(NSString* v) { section_id_ = v; }
    Ref<NSString> bulletinID() const { return bulletin_id_; }
    void setBulletinID(NSString* v) { bulletin_id_ = v; }
    Ref<Object> defaultAction() const { return default_action_; }
    void setDefaultAction(Object* v) { default_action_ = v; }
    // When the bulletin was delivered, on the run loop's clock.
    double date() const { return date_; }
    void set_date(double seconds) { date_ = seconds; }

    // The string of a field, empty when unset.
    static std::string text(const Ref<NSString>& s) { return s ? s->str() : std::string(); }

  private:
    Ref<NSString> title_, subtitle_, message_, section_id_, bulletin_id_;
    Ref<Object> default_action_;
    double date_{0};
};

class BBBulletinRequest : public BBBulletin {
  public:
    static Class runtime_class();
};

} // namespace platform::springboard
