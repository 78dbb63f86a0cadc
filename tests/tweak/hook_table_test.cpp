#include <gtest/gtest.h>

#include "tweak/HookTable.h"

using namespace platform::runtime;
using namespace zimtone::tweak;

namespace {

class Host : public NSObject {
public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<Host>("HookTableTestHost", NSObject::runtime_class())
                               .method<&Host::layoutSubviews>("layoutSubviews")
                               .method<&Host::title>("title")
                               .class_method<&Host::style>("styleFor:")
                               .get();
        return cls;
    }
    void layoutSubviews() { ++layouts; }
    int64_t title() const { return 10; }
    static int64_t style(Object*, int64_t requested) { return requested; }
    int layouts { 0 };
};

IMP saved_layout = nullptr;
IMP saved_style = nullptr;
IMP saved_missing = nullptr;
int hooked_layouts = 0;

void hooked_layout(Object* self, SEL sel) {
    call_imp(saved_layout, self, sel);
    ++hooked_layouts;
}
int64_t hooked_style(Object* self, SEL sel, int64_t) { return call_imp<int64_t>(saved_style, self, sel, int64_t { 3900 }); }
int64_t added_badge(Object*, SEL) { return 42; }
int64_t own_title_replacement(Object*, SEL) { return -1; }

} // namespace

TEST(HookTable, RowsInstallInOrderAndAbsentClassesChangeNothing) {
    Host::runtime_class();
    static const HookRow rows[] = {
        { "HookTableTestHost", "layoutSubviews", HookKind::Replace, imp_cast(&hooked_layout), &saved_layout, nullptr },
        { "HookTableTestHost", "badge", HookKind::Add, imp_cast(&added_badge), nullptr, "q@:" },
        // The class's own method stays when a row adds the same selector.
        { "HookTableTestHost", "title", HookKind::Add, imp_cast(&own_title_replacement), nullptr, "q@:" },
        { "HookTableTestHost", "styleFor:", HookKind::Replace, imp_cast(&hooked_style), &saved_style, nullptr, true },
        { "HookTableTestMissing", "layoutSubviews", HookKind::Replace, imp_cast(&hooked_layout), &saved_missing,
          nullptr },
        { "HookTableTestMissing", "badge", HookKind::Add, imp_cast(&added_badge), nullptr, "q@:" },
    };
    InstallCounts counts = install_group({ "Test", rows });
    EXPECT_EQ(counts.replaced, 2);
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(saved_missing, nullptr);

    auto host = class_createInstance(objc_getClass("HookTableTestHost"));
    msg(host, "layoutSubviews"_sel);
    EXPECT_EQ(static_cast<Host*>(host.get())->layouts, 1); // the host's own layout ran
    EXPECT_EQ(hooked_layouts, 1);
    EXPECT_EQ(msg<int64_t>(host, "badge"_sel), 42);
    EXPECT_EQ(msg<int64_t>(host, "title"_sel), 10);
    EXPECT_EQ(msg<int64_t>(Host::runtime_class(), "styleFor:"_sel, int64_t { 1 }), 3900);
}
