// The quick-reply hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/quickreply/InlineReply.h"
#include "tweak/quickreply/KeyBackdrop.h"
#include "tweak/quickreply/KeyboardTint.h"

namespace zimtone::tweak {

namespace q = quickreply;

HookGroup quick_reply_group() {
    static const HookRow rows[] = {
        replace<&q::updateSendButton>("CKInlineReplyViewController", "updateSendButton",
                                      &q::original_updateSendButton),
        replace<&q::setupView>("CKInlineReplyViewController", "setupView", &q::original_setupView),
        replace_class_method<&q::backdropStyleForStyle>(
            "UIKBRenderConfig", "backdropStyleForStyle:", &q::original_backdropStyleForStyle),
        replace<&q::lightKeyboard>("UIKBRenderConfig", "lightKeyboard", &q::original_lightKeyboard),
        add<&q::changeBackgroundColor>("UIKeyboardLayout", "changeBackgroundColor"),
        replace<&q::layoutInitWithFrame>("UIKeyboardLayout",
                                         "initWithFrame:", &q::original_layoutInitWithFrame),
        replace<&q::predictionTextColor>("UIKeyboardPredictionCell", "textColor",
                                         &q::original_predictionTextColor),
        add<&property_setter<"colorChangerTimer">>("UIKeyboardPredictionCell", "setColorChangerTimer:"),
        add<&property_getter<"colorChangerTimer">>("UIKeyboardPredictionCell", "colorChangerTimer"),
        add<&q::changeBackgroundColor>("UIKeyboardPredictionCell", "changeBackgroundColor"),
        replace<&q::predictionLayoutSubviews>("UIKeyboardPredictionCell", "layoutSubviews",
                                              &q::original_predictionLayoutSubviews),
        add<&property_setter<"backdrop">>("UIKBBlurredKeyView", "setBackdrop:"),
        add<&property_getter<"backdrop">>("UIKBBlurredKeyView", "backdrop"),
        add<&q::keyChangeBackgroundColor>("UIKBBlurredKeyView", "changeBackgroundColor"),
        replace<&q::keyInitWithFrame>("UIKBBlurredKeyView",
                                      "initWithFrame:keyplane:key:", &q::original_keyInitWithFrame),
    };
    return {"QuickReply", rows};
}

} // namespace zimtone::tweak
