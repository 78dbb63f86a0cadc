// A real host process started for a test, driven through its stdin command channel.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace zimtone::testing {

class HostUnderTest {
public:
    // Starts `zimtone-host ROLE --stdin --root ROOT` and waits for its ready line.
    HostUnderTest(const std::string& role, const std::filesystem::path& root);
    ~HostUnderTest();
    HostUnderTest(const HostUnderTest&) = delete;
    HostUnderTest& operator=(const HostUnderTest&) = delete;

    const nlohmann::json& ready() const { return ready_; }
    // Sends one command line and returns its reply (null when the host went away).
    nlohmann::json command(const std::string& line);
    // Closes stdin and waits for the exit status.
    int finish();
    pid_t pid() const { return pid_; }

private:
    std::string read_line();
    pid_t pid_ { -1 };
    int to_host_ { -1 };
    int from_host_ { -1 };
    std::string buffer_;
    nlohmann::json ready_;
};

// The build's bin/ folder, where zimtone and zimtone-host live.
std::filesystem::path build_bin_dir();

} // namespace zimtone::testing
