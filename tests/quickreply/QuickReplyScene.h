// A Messages-extension scene inside the test process: a device with the sample apps (Messages
// with a dark icon), the host's keyboard and Messages classes, the quick-reply group installed
// once, a window on a virtual clock, and the settings reset to their defaults before each test.
#pragma once

#include <gtest/gtest.h>

#include "colour/Colour.h"
#include "platform/messages/CKInlineReplyViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"
#include "settings/SettingsState.h"
#include "tweak/HookTable.h"

namespace zimtone::testing {

// What installing the quick-reply group changed in this process.
const zimtone::tweak::InstallCounts& quick_reply_install_counts();

class QuickReplyScene : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    settings::SettingsState& settings() { return settings::state(); }
    // Opens a reply on the window, as the host does: view placed, then setupView sent.
    platform::messages::CKInlineReplyViewController* open_reply();
    // A keyboard brought up in the window, as a text view becoming first responder does.
    platform::uikit::UIKeyboardLayout* show_keyboard();
    // Moves the virtual clock, firing due timers.
    void advance(double seconds);
    // Writes (or, with nullopt, removes) the probed package's file list.
    void set_package_list(const std::optional<std::string>& contents);
    // The dominant colour of the Messages icon.
    static zimtone::colour::Colour messages_icon_colour();

    platform::uikit::UIWindow* window() { return window_.get(); }

  private:
    platform::runtime::Ref<platform::uikit::UIWindow> window_;
    platform::runtime::Ref<platform::messages::CKInlineReplyViewController> reply_;
};

// A colour object's components; opaque-less "none" for nil.
std::optional<zimtone::colour::Colour> components(const platform::runtime::Object* colour);

} // namespace zimtone::testing
