// The bulletins the home screen has received, newest first: the banner shows each as it
// arrives, Notification Center lists them by app, the lock screen while the device is locked.
#pragma once

#include <functional>
#include <vector>

#include "platform/springboard/BBBulletin.h"

namespace platform::springboard {

class BulletinStore {
  public:
    using Listener = std::function<void(BBBulletin*)>;

    static BulletinStore& shared();

    // Stamps the delivery date and tells every listener, in the order they were added.
    void deliver(BBBulletin* bulletin);
    const std::vector<Ref<BBBulletin>>& newest_first() const { return bulletins_; }
    void add_listener(Listener listener) { listeners_.push_back(std::move(listener)); }
    void clear() { bulletins_.clear(); }

    // While locked, new bulletins go to the lock screen's list instead of a banner.
    bool locked() const { return locked_; }
    void set_locked(bool locked) { locked_ = locked; }

  private:
    std::vector<Ref<BBBulletin>> bulletins_;
    std::vector<Listener> listeners_;
    bool locked_{false};
};

} // namespace platform::springboard
