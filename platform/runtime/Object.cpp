#include "platform/runtime/Object.h"

namespace platform::runtime {

namespace {
// Far above any count real retains reach, so releases during tear-down never bring it to zero.
constexpr int kTearDownRefcount = 1 << 30;
} // namespace

Object::~Object() = default;

AssociationTable& Object::ensure_associations() {
    if (!associations_)
        associations_ = std::make_unique<AssociationTable>();
    return *associations_;
}

void Object::release() const {
    if (refcount_.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    auto* self = const_cast<Object*>(this);
    // Resurrect for the duration of the tear-down so that code run from will_dealloc
    // (which may retain and release this object) cannot free it twice.
    refcount_.store(kTearDownRefcount, std::memory_order_relaxed);
    self->will_dealloc();
    if (associations_) {
        auto table = std::move(self->associations_);
        for (auto& [key, value] : table->entries)
            if (value)
                value->release();
    }
    delete self;
}

} // namespace platform::runtime
