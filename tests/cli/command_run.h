// Runs `zimtone` as a person does, with its two output streams kept apart and a time limit, so a
// command that hangs fails its test instead of stopping the suite.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zimtone::testing {

struct CommandRun {
    int status{-1}; // the exit status; -1 when killed or not started
    bool timed_out{false};
    std::string out;
    std::string err;
};

// The build's `zimtone` with these arguments, stdin from /dev/null and ZIMTONE_DEVICE_ROOT set to
// default_root, killed after the time limit.
CommandRun run_zimtone(const std::vector<std::string>& arguments, const std::filesystem::path& default_root,
                       double timeout_seconds = 10);

} // namespace zimtone::testing
