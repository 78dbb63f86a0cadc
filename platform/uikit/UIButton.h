// Buttons: titles, title colours and images per control state, and target-action pairs.
#pragma once

#include <map>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

enum UIControlState : uint64_t {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1 << 0,
    UIControlStateDisabled = 1 << 1,
    UIControlStateSelected = 1 << 2,
};

enum UIControlEvents : uint64_t {
    UIControlEventTouchDown = 1 << 0,
    UIControlEventTouchUpInside = 1 << 6,
    UIControlEventTouchUpOutside = 1 << 7,
    UIControlEventValueChanged = 1 << 12,
    UIControlEventAllEvents = 0xFFFFFFFF,
};

enum UIButtonType : int64_t {
    UIButtonTypeCustom = 0,
    UIButtonTypeSystem = 1,
};

// A button with the control behaviour folded in. A state without a title, title colour or
// image of its own shows the normal state's; with none there either, the title colour is white
// for a custom button and the tint colour for the other types. The title label is a subview
// that always shows the title and title colour of the current state. Targets are held
// strongly: this runtime has no weak references, and a dangling target would be worse than a
// kept one.
class UIButton : public UIView {
  public:
    struct TargetAction {
        Ref<runtime::Object> target;
        runtime::SEL action{nullptr};
        uint64_t events{0};
    };

    static Class runtime_class();

    UIButton();

    int64_t buttonType() const { return type_; }
    uint64_t state() const;
    bool isEnabled() const { return enabled_; }
    // A disabled button also loses its highlight.
    void setEnabled(bool enabled);
    // Lit while a touch that began on the button is inside it; a disabled button never is.
    // A system button without a highlighted title colour of its own dims its title, as the
    // phone does.
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);

    void setTitleForState(foundation::NSString* title, uint64_t state);
    foundation::NSString* titleForState(uint64_t state) const;
    void setTitleColorForState(UIColor* colour, uint64_t state);
    UIColor* titleColorForState(uint64_t state) const;
    void setBackgroundImageForState(UIImage* image, uint64_t state);
    UIImage* backgroundImageForState(uint64_t state) const;
    void setImageForState(UIImage* image, uint64_t state);
    UIImage* imageForState(uint64_t state) const;
    // Only the values set for each state, without fallbacks.
    const std::map<uint64_t, Ref<foundation::NSString>>& titles() const { return titles_; }
    const std::map<uint64_t, Ref<UIColor>>& title_colours() const { return title_colours_; }
    const std::map<uint64_t, Ref<UIImage>>& background_images() const { return background_images_; }
    const std::map<uint64_t, Ref<UIImage>>& images() const { return images_; }

    bool showsTouchWhenHighlighted() const { return shows_touch_; }
    void setShowsTouchWhenHighlighted(bool shows) { shows_touch_ = shows; }
    UILabel* titleLabel() const { return title_label_.get(); }

    // Adding a pair that is already registered adds the events to it.
    void addTargetActionForControlEvents(runtime::Object* target, runtime::SEL action, uint64_t events);
    const std::vector<TargetAction>& target_actions() const { return target_actions_; }
    // Sends each action registered for any of the events to its target, in the order added.
    // An action may take no argument, the sender, or the sender and an event (nil here).
    void send_actions(uint64_t events);

    // Fits the title label to the bounds.
    void layoutSubviews();
    // The current state's background image over the bounds, and its image centred at its own
    // size (scaled down to fit); the title label, a subview, draws the title above them.
    void draw(Canvas& canvas) const override;

  private:
    friend runtime::Ref<runtime::Object> make_button_of_type(runtime::Object* cls, int64_t type);
    void show_current_state();

    int64_t type_{UIButtonTypeCustom};
    bool enabled_{true};
    bool highlighted_{false};
    bool shows_touch_{false};
    std::map<uint64_t, Ref<foundation::NSString>> titles_;
    std::map<uint64_t, Ref<UIColor>> title_colours_;
    std::map<uint64_t, Ref<UIImage>> background_images_;
    std::map<uint64_t, Ref<UIImage>> images_;
    Ref<UILabel> title_label_;
    std::vector<TargetAction> target_actions_;
};

} // namespace platform::uikit
