// The quick-reply hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/quickreply/InlineReply.h"
#include "tweak/quickreply/KeyBackdrop.h"
#include "tweak/quickreply/KeyboardTint.h"

namespace zimtone::tweak {

using platform::runtime::imp_cast;
namespace q = quickreply;

HookGroup quick_reply_group() {
    static const HookRow rows[] = {
        {"CKInlineReplyViewController", "updateSendButton", HookKind::Replace, imp_cast(&q::updateSendButton),
         &q::original_updateSendButton, nullptr},
        {"CKInlineReplyViewController", "setupView", HookKind::Replace, imp_cast(&q::setupView),
         &q::original_setupView, nullptr},
        {"UIKBRenderConfig", "backdropStyleForStyle:", HookKind::Replace, imp_cast(&q::backdropStyleForStyle),
         &q::original_backdropStyleForStyle, nullptr, true},
        {"UIKBRenderConfig", "lightKeyboard", HookKind::Replace, imp_cast(&q::lightKeyboard),
         &q::original_lightKeyboard, nullptr},
        {"UIKeyboardLayout", "changeBackgroundColor", HookKind::Add, imp_cast(&q::changeBackgroundColor),
         nullptr, "v@:"},
        {"UIKeyboardLayout", "initWithFrame:", HookKind::Replace, imp_cast(&q::layoutInitWithFrame),
         &q::original_layoutInitWithFrame, nullptr},
        {"UIKeyboardPredictionCell", "textColor", HookKind::Replace, imp_cast(&q::predictionTextColor),
         &q::original_predictionTextColor, nullptr},
        {"UIKeyboardPredictionCell", "setColorChangerTimer:", HookKind::Add,
         imp_cast(&property_setter<"colorChangerTimer">), nullptr, "v@:@"},
        {"UIKeyboardPredictionCell", "colorChangerTimer", HookKind::Add,
         imp_cast(&property_getter<"colorChangerTimer">), nullptr, "@@:"},
        {"UIKeyboardPredictionCell", "changeBackgroundColor", HookKind::Add,
         imp_cast(&q::changeBackgroundColor), nullptr, "v@:"},
        {"UIKeyboardPredictionCell", "layoutSubviews", HookKind::Replace,
         imp_cast(&q::predictionLayoutSubviews), &q::original_predictionLayoutSubviews, nullptr},
        {"UIKBBlurredKeyView", "setBackdrop:", HookKind::Add, imp_cast(&property_setter<"backdrop">), nullptr,
         "v@:@"},
        {"UIKBBlurredKeyView", "backdrop", HookKind::Add, imp_cast(&property_getter<"backdrop">), nullptr,
         "@@:"},
        {"UIKBBlurredKeyView", "changeBackgroundColor", HookKind::Add, imp_cast(&q::keyChangeBackgroundColor),
         nullptr, "v@:"},
        {"UIKBBlurredKeyView", "initWithFrame:keyplane:key:", HookKind::Replace,
         imp_cast(&q::keyInitWithFrame), &q::original_keyInitWithFrame, nullptr},
    };
    return {"QuickReply", rows};
}

} // namespace zimtone::tweak
