#include "tweak/lockscreen/LockscreenUnicornList.h"

#include <algorithm>

namespace zimtone::tweak::lockscreen {

using namespace platform::runtime;

LockscreenUnicornList& LockscreenUnicornList::shared() {
    static auto* list = new LockscreenUnicornList; // process lifetime
    return *list;
}

void LockscreenUnicornList::insert(Object* view) {
    if (!views_)
        views_.emplace();
    drop_discarded();
    if (!view || std::find(views_->begin(), views_->end(), view) != views_->end())
        return;
    views_->insert(views_->begin(), Ref<Object>(view));
}

void LockscreenUnicornList::for_each_live(const std::function<void(Object*)>& paint) {
    if (!views_)
        return;
    drop_discarded();
    for (const auto& view : *views_)
        paint(view);
}

void LockscreenUnicornList::drop_discarded() {
    std::erase_if(*views_, [](const Ref<Object>& view) { return !msg<Ref<Object>>(view, "superview"_sel); });
}

} // namespace zimtone::tweak::lockscreen
