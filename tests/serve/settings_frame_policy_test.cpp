// Who may frame the Settings app's page: only the device page that was named, nobody otherwise.
#include <gtest/gtest.h>

#include "sim/hosts/SettingsHostGuard.h"

namespace {

TEST(SettingsFramePolicy, OnlyTheNamedLoopbackPageMayFrame) {
    struct Case {
        int embedder_port;
        const char* policy;
    };
    const Case cases[] = {
        {8375, "frame-ancestors http://127.0.0.1:8375 http://localhost:8375"},
        {1, "frame-ancestors http://127.0.0.1:1 http://localhost:1"},
        {65535, "frame-ancestors http://127.0.0.1:65535 http://localhost:65535"},
        {0, "frame-ancestors 'none'"},     // not started by the launcher
        {-1, "frame-ancestors 'none'"},    // a garbled variable
        {65536, "frame-ancestors 'none'"}, // no such port
    };
    for (const auto& c : cases)
        EXPECT_EQ(zimtone::sim::settings_frame_policy(c.embedder_port), c.policy) << c.embedder_port;
}

} // namespace
