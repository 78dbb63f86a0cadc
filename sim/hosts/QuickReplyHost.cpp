// The QuickReply surface of its host process: host classes and commands.
#include "sim/hosts/SurfaceHosts.h"

#include "platform/foundation/RunLoop.h"
#include "platform/messages/CKInlineReplyViewController.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKBRenderConfig.h"
#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"
#include "sim/hosts/Screen.h"

namespace zimtone::sim {

using namespace platform::messages;
using namespace platform::runtime;
using namespace platform::uikit;

namespace {

// The reply being written, while one is open.
Ref<CKInlineReplyViewController>& open_reply() {
    static auto* reply = new Ref<CKInlineReplyViewController>;
    return *reply;
}

// Who and what the open reply answers, so that it can be opened again.
std::pair<std::string, std::string>& open_conversation() {
    static auto* conversation = new std::pair<std::string, std::string>;
    return *conversation;
}

CommandResult open(const std::string& sender, const std::string& message) {
    if (open_reply())
        return CommandResult::failure("a reply is already open; close it with 'reply close'");
    auto controller = Ref<CKInlineReplyViewController>(dynamic_cast<CKInlineReplyViewController*>(
        class_createInstance(CKInlineReplyViewController::runtime_class()).get()));
    if (!controller)
        return CommandResult::failure("the reply view controller could not be made");
    // The reply view takes the screen above the keyboard.
    controller->prepare(
        platform::foundation::CGRectMake(0, 0, kScreenWidth, kScreenHeight - Keyboard::kHeight), sender,
        message);
    screen()->addSubview(controller->view());
    open_reply() = controller;
    open_conversation() = {sender, message};
    msg(controller, "setupView"_sel);
    screen()->layoutIfNeeded();
    return CommandResult::success({{"sender", sender}, {"keyboard", Keyboard::on_screen() != nullptr}});
}

CommandResult close() {
    Ref<CKInlineReplyViewController> controller = std::move(open_reply());
    open_reply() = nullptr;
    if (!controller)
        return CommandResult::failure("no reply is open");
    if (auto* entry = controller->entryView())
        msg<bool>(entry->contentView()->textView(), "resignFirstResponder"_sel);
    Keyboard::dismiss();
    if (controller->view())
        controller->view()->removeFromSuperview();
    return CommandResult::success();
}

// The reply view set itself up when it opened: it is closed and opened again with its text.
void open_reply_again() {
    if (!open_reply() || !open_reply()->entryView())
        return;
    std::string text = open_reply()->entryView()->contentView()->textView()->text();
    auto [sender, message] = open_conversation();
    close();
    open(sender, message);
    if (open_reply() && !text.empty())
        open_reply()->type(text);
    screen()->layoutIfNeeded();
}

} // namespace

void set_up_quick_reply_host(HostProcess& host) {
    CKInlineReplyViewController::runtime_class();
    CKMessageEntryView::runtime_class();
    add_screen_refresh(open_reply_again);
    host.add_command("reply", "reply SENDER MESSAGE | reply close", [](const std::vector<std::string>& args) {
        if (args.size() == 1 && args[0] == "close")
            return close();
        if (args.size() == 2)
            return open(args[0], args[1]);
        return CommandResult::failure("reply takes a sender and a message, or 'close'");
    });
    host.add_command("type", "type TEXT  (into the open reply)", [](const std::vector<std::string>& args) {
        if (args.size() != 1)
            return CommandResult::failure("type takes one text");
        if (!open_reply())
            return CommandResult::failure("no reply is open");
        open_reply()->type(args[0]);
        screen()->layoutIfNeeded();
        return CommandResult::success(
            {{"text", open_reply()->entryView()->contentView()->textView()->text()}});
    });
    host.add_command("timers", "timers  (how many timers the run loop has scheduled)", [](auto&) {
        return CommandResult::success({{"timers", platform::foundation::RunLoop::main().timers().size()}});
    });
}

void set_up_keyboard_classes() {
    UIKBRenderConfig::runtime_class();
    UIKeyboardLayout::runtime_class();
    UIKeyboardPredictionCell::runtime_class();
    UIKBBlurredKeyView::runtime_class();
}

} // namespace zimtone::sim
