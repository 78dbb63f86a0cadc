#include "tweak/quickreply/InlineReply.h"

#include "settings/SettingsState.h"
#include "tweak/quickreply/MessagesColours.h"

namespace zimtone::tweak::quickreply {

using namespace platform::runtime;
using zimtone::settings::state;

IMP original_setupView = nullptr;
IMP original_updateSendButton = nullptr;

namespace {

constexpr uint64_t kControlStateNormal = 0;
constexpr uint64_t kControlStateDisabled = 2;

void colour_send_button(Object* entry_view, const Ref<Object>& contrast) {
    auto send = msg<Ref<Object>>(entry_view, "sendButton"_sel);
    msg(send, "setTitleColor:forState:"_sel, contrast, kControlStateNormal);
    msg(send, "setTitleColor:forState:"_sel, contrast, kControlStateDisabled);
}

} // namespace

void setupView(Object* self, SEL sel) {
    call_imp(original_setupView, self, sel);
    const auto& s = state();
    if (!s.BannersEnabled)
        return;
    ReplyColours colours = current_reply_colours();
    auto contrast = colour_object(colours.contrast);
    auto icon = colour_object(colours.icon);
    auto entry = msg<Ref<Object>>(self, "entryView"_sel);

    // An entry view without the variable has no cover to colour; the rest still applies.
    Object* cover = object_getIvarNamed(entry, "_coverView");
    msg(cover, "setFillColor:"_sel, colour_object(colours.cover_fill));
    msg(cover, "setStrokeColor:"_sel, colour_object(colours.cover_stroke));

    if (s.AutoTextColor) {
        colour_send_button(entry, contrast);
        auto text_view = msg<Ref<Object>>(msg<Ref<Object>>(entry, "contentView"_sel), "textView"_sel);
        msg(text_view, "setTextColor:"_sel, icon);
        msg(text_view, "setTintColor:"_sel, icon);
        // Bringing the keyboard up again lets it come up in the new colours.
        if (msg<bool>(text_view, "isFirstResponder"_sel)) {
            msg<bool>(text_view, "resignFirstResponder"_sel);
            msg<bool>(text_view, "becomeFirstResponder"_sel);
        }
        msg(msg<Ref<Object>>(text_view, "placeholderLabel"_sel), "setTextColor:"_sel, icon);
    }
    msg(msg<Ref<Object>>(entry, "audioButton"_sel), "setTintColor:"_sel, contrast);
}

void updateSendButton(Object* self, SEL sel) {
    call_imp(original_updateSendButton, self, sel);
    const auto& s = state();
    if (!s.BannersEnabled || !s.AutoTextColor)
        return;
    auto contrast = colour_object(current_reply_colours().contrast);
    colour_send_button(msg<Ref<Object>>(self, "entryView"_sel).get(), contrast);
}

} // namespace zimtone::tweak::quickreply
