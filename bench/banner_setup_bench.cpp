// The banner set-up path end to end on host objects, without drawing: a new banner view is given
// its context, the hooked setBannerContext:withReplaceReason: finds the app, fetches its icon from
// the application list, takes its colour and builds the tinted backdrop and the text colours.
// The home screen's banner classes are stood in for by the least the hooks need: a view that keeps
// its context, a context with an item, and an item with its bulletin.
#include <benchmark/benchmark.h>

#include "bench/BenchDevice.h"
#include "platform/PlatformClasses.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/uikit/UIView.h"
#include "settings/SettingsState.h"
#include "sim/device/DeviceGenerator.h"
#include "tweak/Startup.h"

using namespace platform::runtime;
using platform::springboard::BBBulletin;
using platform::uikit::UIView;

namespace {

class BannerItemStandIn : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<BannerItemStandIn>("SBBulletinBannerItem", NSObject::runtime_class())
                               .method<&BannerItemStandIn::seedBulletin>("seedBulletin")
                               .get();
        return cls;
    }
    Ref<Object> seedBulletin() const { return bulletin_; }
    Ref<Object> bulletin_;
};

class BannerContextStandIn : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<BannerContextStandIn>("SBUIBannerContext", NSObject::runtime_class())
                               .method<&BannerContextStandIn::item>("item")
                               .get();
        return cls;
    }
    Ref<Object> item() const { return item_; }
    Ref<Object> item_;
};

class BannerContextViewStandIn : public UIView {
  public:
    static Class runtime_class() {
        static Class cls =
            ClassBuilder<BannerContextViewStandIn>("SBBannerContextView", UIView::runtime_class())
                .method<&BannerContextViewStandIn::setBannerContext>("setBannerContext:withReplaceReason:")
                .method<&BannerContextViewStandIn::noteDidDismissWithReason>("noteDidDismissWithReason:")
                .get();
        return cls;
    }
    void setBannerContext(Object* context, int64_t) { context_ = context; }
    void noteDidDismissWithReason(int64_t) {}

  private:
    Ref<Object> context_;
};

// One process-wide scene: the device, the stand-in classes and the tweak started on them.
struct BannerScene {
    BannerScene() {
        zimtone::device::generate_default_device(device.root());
        platform::register_platform_classes();
        BannerContextViewStandIn::runtime_class();
        BannerContextStandIn::runtime_class();
        BannerItemStandIn::runtime_class();
        report = zimtone::tweak::start();

        auto item = make_object<BannerItemStandIn>();
        item->bulletin_ = BBBulletin::make("com.apple.MobileSMS", "Anna", "See you at eight?");
        context = make_object<BannerContextStandIn>();
        context->item_ = item;
    }
    zimtone::bench::BenchDevice device;
    zimtone::tweak::StartupReport report;
    Ref<BannerContextStandIn> context;
};

BannerScene& scene() {
    static BannerScene* s = new BannerScene; // kept for the whole run, like the home screen's state
    return *s;
}

// A fresh banner view each time, as the host makes one per banner; with the banner hooks switched
// off in the settings the same loop measures what the host spends without the tweak.
void BM_BannerSetUp(benchmark::State& state) {
    BannerScene& s = scene();
    if (!s.report.banner) {
        state.SkipWithError("the banner hooks were not installed");
        return;
    }
    auto& settings = zimtone::settings::state();
    const bool enabled_before = settings.BannersEnabled;
    settings.BannersEnabled = state.range(0) != 0;
    for (auto _ : state) {
        auto view = UIView::create<BannerContextViewStandIn>({{0, 0}, {375, 76}});
        msg(view.get(), "setBannerContext:withReplaceReason:"_sel, static_cast<Object*>(s.context.get()),
            int64_t{0});
        benchmark::DoNotOptimize(view.get());
    }
    settings.BannersEnabled = enabled_before;
}
BENCHMARK(BM_BannerSetUp)->Arg(0)->Arg(1)->ArgName("tweak")->Unit(benchmark::kMicrosecond);

} // namespace
