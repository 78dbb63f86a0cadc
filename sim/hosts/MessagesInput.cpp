// The Messages extension's input: keys typed into the open reply, Send (its button, or Return)
// posting the reply and closing the view, and Home closing it unsent.
#include <deque>

#include "platform/messages/CKMessageEntryView.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "sim/hosts/HostRoleName.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/TouchInput.h"

namespace zimtone::sim {

using namespace platform::messages;
using nlohmann::json;
using platform::uikit::Keyboard;
using platform::uikit::TouchOutcome;
using platform::uikit::UIView;

namespace {

// Enough to see what was sent lately; older replies are let go.
constexpr size_t kKeptReplies = 20;
// What the launcher shows once the reply is gone: the home screen.
constexpr const char* kHomeScreen = role_name(HostRoleName::springboard);

// The replies sent, oldest first; the extension's for its whole life.
std::deque<std::string>& sent_replies() {
    static auto* sent = new std::deque<std::string>;
    return *sent;
}

CKMessageEntryView* find_entry_view(UIView* view) {
    if (auto* entry = dynamic_cast<CKMessageEntryView*>(view))
        return entry;
    for (const auto& child : view->subview_list())
        if (auto* entry = find_entry_view(child.get()))
            return entry;
    return nullptr;
}

// The entry bar of the reply on screen; nil when no reply is open.
CKMessageEntryView* open_entry() {
    return find_entry_view(screen());
}

bool is_within(const UIView* view, const UIView* ancestor) {
    for (; view; view = view->superview())
        if (view == ancestor)
            return true;
    return false;
}

// Posts the reply's text and closes the view, as Send does; nothing happens while it is empty.
json send(HostProcess& host) {
    auto* entry = open_entry();
    if (!entry)
        return {{"nothing", true}, {"reply", false}};
    std::string text = entry->contentView()->textView()->text();
    if (text.empty())
        return {{"nothing", true}, {"reason", "the reply is empty"}};
    sent_replies().push_back(text);
    if (sent_replies().size() > kKeptReplies)
        sent_replies().pop_front();
    host.execute("reply close");
    return {{"sent", text}, {"show", kHomeScreen}};
}

CommandResult key(HostProcess& host, const std::string& key) {
    if (!open_entry())
        return CommandResult::success({{"nothing", true}, {"reply", false}});
    if (key == "enter")
        return CommandResult::success(send(host));
    auto outcome =
        key == "backspace" ? Keyboard::press_key(platform::uikit::Key::Backspace) : Keyboard::type_text(key);
    json answer = {{"text", open_entry()->contentView()->textView()->text()}};
    if (outcome.fired.empty())
        answer["nothing"] = true;
    else
        answer["fired"] = outcome.fired;
    return CommandResult::success(answer);
}

void add_messages_details(const UIView& view, json& entry) {
    if (&view != screen())
        return;
    auto* open = open_entry();
    entry["messages"] = {
        {"replyOpen", open != nullptr},
        {"text", open ? json(open->contentView()->textView()->text()) : json(nullptr)},
        {"sent", json(std::vector<std::string>(sent_replies().begin(), sent_replies().end()))}};
}

} // namespace

TouchSurface messages_touch_surface(HostProcess& host) {
    add_dump_detail(add_messages_details);
    TouchSurface surface;
    surface.after_views = [&host](const TouchOutcome& outcome, json& answer) {
        auto* entry = open_entry();
        const bool send_tapped =
            outcome.fired == "action" && entry && is_within(outcome.view, entry->sendButton());
        if (send_tapped || (outcome.fired == "return" && entry))
            answer.update(send(host));
    };
    surface.key = [&host](const std::string& k) { return key(host, k); };
    surface.home = [&host]() {
        if (!open_entry())
            return CommandResult::success({{"nothing", true}, {"show", kHomeScreen}});
        host.execute("reply close");
        return CommandResult::success({{"reply", "closed"}, {"show", kHomeScreen}});
    };
    return surface;
}

} // namespace zimtone::sim
