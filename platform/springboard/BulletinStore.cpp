#include "platform/springboard/BulletinStore.h"

#include "platform/foundation/RunLoop.h"

namespace platform::springboard {

BulletinStore& BulletinStore::shared() {
    static auto* store = new BulletinStore; // the home screen's, for its whole life
    return *store;
}

void BulletinStore::deliver(BBBulletin* bulletin) {
    if (!bulletin)
        return;
    bulletin->set_date(foundation::RunLoop::main().now());
    bulletins_.insert(bulletins_.begin(), Ref<BBBulletin>(bulletin));
    for (auto& listener : listeners_)
        listener(bulletin);
}

} // namespace platform::springboard
