#include "bench/ServedDevice.h"

#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/launcher/JsonValues.h"

namespace zimtone::bench {

using namespace std::chrono_literals;
using testing::serve::ServeProcess;

ServedDevice::ServedDevice(const nlohmann::json& settings) {
    if (!settings.empty())
        platform::foundation::write_property_list_file(zimtone::settings::kSettingsFile,
                                                       zimtone::sim::object_from_json(settings));
    serve = std::make_unique<ServeProcess>(device.root());
    if (serve->port() > 0)
        up = testing::serve::wait_for_host(*serve, "springboard", [](const auto& host) {
                 return host["state"] == "up";
             })["state"] == "up";
}

ServedDevice::~ServedDevice() {
    if (serve && serve->port() > 0)
        serve->terminate();
}

WatchingPage::WatchingPage(const ServeProcess& serve, OnFrame on_frame)
    : serve_(serve), on_frame_(std::move(on_frame)) {
    thread_ = std::thread([this] {
        auto client = serve_.client();
        while (!stop_) {
            auto res = client.Get(("/api/frame?since=" + std::to_string(sequence_.load())).c_str());
            if (res && res->status == 200 && res->has_header("X-Frame-Sequence")) {
                sequence_ = std::stoull(res->get_header_value("X-Frame-Sequence"));
                ++frames_;
                if (on_frame_)
                    on_frame_(res->body);
            } else if (!res) {
                std::this_thread::sleep_for(50ms);
            }
        }
    });
}

WatchingPage::~WatchingPage() {
    stop_ = true;
    thread_.join();
}

} // namespace zimtone::bench
