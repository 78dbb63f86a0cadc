#include "tests/quickreply/QuickReplyScene.h"

#include <fstream>

#include "colour/bridge/ColourServices.h"
#include "colour/bridge/HexColors.h"
#include "platform/PlatformClasses.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKBRenderConfig.h"
#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"
#include "settings/Loaders.h"
#include "sim/device/DeviceGenerator.h"
#include "tests/support/TempDevice.h"
#include "tweak/ApplicationList.h"
#include "tweak/HookGroups.h"
#include "tweak/quickreply/KeyBackdrop.h"

namespace zimtone::testing {

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::RunLoop;

namespace {

zimtone::tweak::InstallCounts g_counts;

// A dark icon has white as its contrast, which the saturation step visibly changes (white with
// saturation 1 is red), where the sample Messages icon's black contrast stays black.
void give_messages_a_dark_icon(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    fs::path messages = root / "Applications/com.apple.MobileSMS.app";
    fs::path dark = root / "Applications/com.example.zebra.app";
    for (const char* name : {"Icon-Small.png", "Icon-Small@2x.png", "Icon-Small@3x.png"}) {
        std::error_code ec;
        fs::remove(messages / name, ec);
        if (fs::exists(dark / name))
            fs::copy_file(dark / name, messages / name, ec);
    }
}

// The process-wide part: one device and one installation for every test of this binary.
class QuickReplyEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        device_ = std::make_unique<TempDevice>();
        zimtone::device::generate_default_device(device_->root());
        give_messages_a_dark_icon(device_->root());
        RunLoop::main().use_virtual_clock(0);
        platform::register_platform_classes();
        UIKBRenderConfig::runtime_class();
        UIKeyboardLayout::runtime_class();
        UIKeyboardPredictionCell::runtime_class();
        UIKBBlurredKeyView::runtime_class();
        platform::messages::CKInlineReplyViewController::runtime_class();
        platform::messages::CKMessageEntryView::runtime_class();
        zimtone::colour::bridge::install_hex_colors_category();
        zimtone::tweak::cache_application_list();
        g_counts = zimtone::tweak::install_group(zimtone::tweak::quick_reply_group());
    }
    void TearDown() override { device_.reset(); }

  private:
    std::unique_ptr<TempDevice> device_;
};

[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new QuickReplyEnvironment);

} // namespace

const zimtone::tweak::InstallCounts& quick_reply_install_counts() {
    return g_counts;
}

void QuickReplyScene::SetUp() {
    for (auto group : settings::kGroups)
        settings::apply_group(settings::state(), group, nullptr);
    settings::state().per_app_colours = nullptr;
    window_ = UIView::create<UIWindow>(platform::foundation::CGRectMake(0, 0, 375, 667));
    set_package_list(std::nullopt);
}

void QuickReplyScene::TearDown() {
    Keyboard::dismiss();
    if (reply_ && reply_->view())
        reply_->view()->removeFromSuperview();
    reply_ = nullptr;
    window_ = nullptr;
    set_package_list(std::nullopt);
}

platform::messages::CKInlineReplyViewController* QuickReplyScene::open_reply() {
    using platform::messages::CKInlineReplyViewController;
    reply_ = Ref<CKInlineReplyViewController>(dynamic_cast<CKInlineReplyViewController*>(
        class_createInstance(CKInlineReplyViewController::runtime_class()).get()));
    reply_->prepare(platform::foundation::CGRectMake(0, 0, 375, 667 - Keyboard::kHeight), "Anna", "Lunch?");
    window_->addSubview(reply_->view());
    msg(reply_, "setupView"_sel);
    window_->layoutIfNeeded();
    return reply_.get();
}

UIKeyboardLayout* QuickReplyScene::show_keyboard() {
    Keyboard::show_in(window_.get());
    window_->layoutIfNeeded();
    return Keyboard::on_screen();
}

void QuickReplyScene::advance(double seconds) {
    RunLoop::main().advance(seconds);
    window_->layoutIfNeeded();
}

void QuickReplyScene::set_package_list(const std::optional<std::string>& contents) {
    auto path = platform::foundation::resolve_device_path(zimtone::tweak::quickreply::kProbedPackageList);
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (!contents)
        return;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream(path, std::ios::binary) << *contents;
}

zimtone::colour::Colour QuickReplyScene::messages_icon_colour() {
    auto icon = zimtone::tweak::small_icon(platform::foundation::ns("com.apple.MobileSMS"));
    return zimtone::colour::bridge::getDominantColor(icon.get())->colour();
}

std::optional<zimtone::colour::Colour> components(const Object* colour) {
    auto* c = colour_of(colour);
    return c ? std::optional(c->colour()) : std::nullopt;
}

} // namespace zimtone::testing
