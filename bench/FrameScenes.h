// The four scenes whose frames the frame benchmarks draw: a banner down, Notification Center open
// on three notifications, the lock screen holding three, and the Messages quick reply open. Each
// is the host role it lives in and the host commands that build it on a fresh host.
#pragma once

#include <string>
#include <vector>

namespace zimtone::bench {

struct FrameScene {
    std::string name;
    std::string role;
    std::vector<std::string> commands;
};

const std::vector<FrameScene>& frame_scenes();

} // namespace zimtone::bench
