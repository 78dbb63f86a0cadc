// The base of every messageable object: class pointer, intrusive reference count, associations.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace platform::runtime {

class Class_;
using Class = Class_*;
class Object;

template <class T> class Ref;

// Associated objects of one object; created on first use, released with the object.
struct AssociationTable {
    std::vector<std::pair<const void*, Object*>> entries;
};

class Object {
  public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    Class isa() const { return isa_; }
    void set_isa(Class cls) { isa_ = cls; }

    void retain() const { refcount_.fetch_add(1, std::memory_order_relaxed); }
    void release() const;
    int32_t retain_count() const { return refcount_.load(std::memory_order_relaxed); }

    AssociationTable* associations() const { return associations_.get(); }
    AssociationTable& ensure_associations();

    // Called once the last reference is gone, before the associations are released.
    virtual void will_dealloc() {}

  private:
    Class isa_{nullptr};
    mutable std::atomic<int32_t> refcount_{0};
    std::unique_ptr<AssociationTable> associations_;
};

// Intrusive strong reference. Layout is one pointer, so an object ivar can be read by offset.
template <class T> class Ref {
  public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* p) : ptr_(p) {
        if (ptr_)
            ptr_->retain();
    }
    Ref(const Ref& o) : Ref(o.ptr_) {}
    Ref(Ref&& o) noexcept : ptr_(std::exchange(o.ptr_, nullptr)) {}
    template <class U> Ref(const Ref<U>& o) : Ref(static_cast<T*>(o.get())) {}
    template <class U> Ref(Ref<U>&& o) noexcept : ptr_(static_cast<T*>(o.leak())) {}
    ~Ref() {
        if (ptr_)
            ptr_->release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(ptr_, o.ptr_);
        return *this;
    }

    // Takes over a reference that the caller already owns.
    static Ref adopt(T* p) {
        Ref r;
        r.ptr_ = p;
        return r;
    }
    T* leak() { return std::exchange(ptr_, nullptr); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    operator T*() const { return ptr_; }

  private:
    T* ptr_{nullptr};
};

static_assert(sizeof(Ref<Object>) == sizeof(Object*));

using id = Object*;
using StrongId = Ref<Object>;

} // namespace platform::runtime
