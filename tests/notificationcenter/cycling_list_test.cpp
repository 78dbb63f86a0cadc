#include <gtest/gtest.h>

#include "platform/runtime/Runtime.h"
#include "tweak/notificationcenter/CyclingList.h"

using namespace zimtone::tweak::notificationcenter;
using platform::runtime::make_object;
using platform::runtime::NSObject;

namespace {
std::vector<Object*> walk(CyclingList& list) {
    std::vector<Object*> seen;
    list.for_each_live([&](Object* o) { seen.push_back(o); });
    return seen;
}
} // namespace

TEST(CyclingList, NewestFirstAndEachEntryOnce) {
    CyclingList list;
    auto a = make_object<NSObject>(), b = make_object<NSObject>(), c = make_object<NSObject>();
    list.add(a.get());
    list.add(b.get());
    list.add(c.get());
    EXPECT_EQ(walk(list), (std::vector<Object*>{c.get(), b.get(), a.get()}));
    // A reused entry moves to the front instead of standing twice.
    list.add(a.get());
    list.add(a.get());
    EXPECT_EQ(walk(list), (std::vector<Object*>{a.get(), c.get(), b.get()}));
    EXPECT_EQ(list.size(), 3u);
    list.add(nullptr);
    EXPECT_EQ(list.size(), 3u);
}

TEST(CyclingList, DiscardedEntriesAreDroppedAndReleased) {
    CyclingList list;
    auto kept = make_object<NSObject>();
    auto discarded = make_object<NSObject>();
    list.add(kept.get());
    list.add(discarded.get());
    EXPECT_EQ(discarded->retain_count(), 2);
    Object* gone = discarded.get();
    discarded = nullptr; // the host lets go: only the list holds it now
    EXPECT_EQ(gone->retain_count(), 1);
    EXPECT_EQ(walk(list), (std::vector<Object*>{kept.get()}));
    EXPECT_EQ(list.size(), 1u);
    // Registration drops discarded entries too, so the list never outgrows the live views.
    for (int i = 0; i < 100; ++i)
        list.add(make_object<NSObject>().get());
    EXPECT_LE(list.size(), 2u);
    EXPECT_EQ(kept->retain_count(), 2);
}
