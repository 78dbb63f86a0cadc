#include <gtest/gtest.h>

#include <vector>

#include "platform/uikit/UIView.h"
#include "tweak/lockscreen/LockscreenUnicornList.h"

using namespace platform::uikit;
using platform::runtime::Object;
using platform::runtime::Ref;
using zimtone::tweak::lockscreen::LockscreenUnicornList;

namespace {

// A content view inside a cell, as the cell hook registers it.
struct CellScene {
    Ref<UIView> cell = UIView::create<UIView>({});
    Ref<UIView> content = UIView::create<UIView>({});
    CellScene() { cell->addSubview(content); }
};

std::vector<Object*> listed(LockscreenUnicornList& list) {
    std::vector<Object*> out;
    list.for_each_live([&](Object* v) { out.push_back(v); });
    return out;
}

} // namespace

TEST(LockscreenUnicornList, CreatedOnFirstInsertNewestFirstAndEachViewOnce) {
    LockscreenUnicornList list;
    EXPECT_FALSE(list.exists());
    CellScene a, b;
    list.insert(a.content);
    list.insert(b.content);
    list.insert(a.content); // configured again
    EXPECT_TRUE(list.exists());
    EXPECT_EQ(listed(list), (std::vector<Object*>{b.content.get(), a.content.get()}));
    list.release();
    EXPECT_FALSE(list.exists());
    EXPECT_TRUE(listed(list).empty());
}

TEST(LockscreenUnicornList, DiscardedCellsAreDroppedLiveOnesStillPainted) {
    struct Row {
        const char* name;
        void (*discard)(CellScene&);
    };
    const Row rows[] = {
        {"the cell died", [](CellScene& s) { s.cell = nullptr; }},
        {"the cell let its content view go", [](CellScene& s) { s.content->removeFromSuperview(); }},
    };
    for (const auto& row : rows) {
        LockscreenUnicornList list;
        auto kept = std::make_unique<CellScene>();
        auto gone = std::make_unique<CellScene>();
        list.insert(kept->content);
        list.insert(gone->content);
        Object* gone_view = gone->content.get();
        row.discard(*gone);
        std::vector<Object*> painted = listed(list);
        EXPECT_EQ(painted, std::vector<Object*>{kept->content.get()}) << row.name;
        EXPECT_EQ(list.size(), 1u) << row.name;
        EXPECT_NE(painted.front(), gone_view) << row.name;
    }
}

TEST(LockscreenUnicornList, InsertionAlsoDropsTheDiscardedSoRepeatedReloadsStayBounded) {
    LockscreenUnicornList list;
    for (int reload = 0; reload < 50; ++reload) {
        CellScene scene; // the host's cell of this reload, discarded at the next
        list.insert(scene.content);
    }
    CellScene live;
    list.insert(live.content);
    EXPECT_EQ(list.size(), 1u);
}
