// `zimtone demo`: renders every surface under the defaults and a few presets into a folder,
// with an index.html contact sheet. Deterministic for a given seed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/hosts/HostRoleName.h"

namespace zimtone::cli {

// One picture-taking run: a fresh host with these settings, driven by these command lines.
// "{shot:NAME}" in a line becomes the path of picture NAME in the output folder.
struct DemoScenario {
    std::string title;
    sim::HostRoleName role; // springboard or messages
    nlohmann::json settings = nlohmann::json::object();
    std::vector<std::string> steps;
};

const std::vector<DemoScenario>& demo_scenarios();

// Prints progress on stdout; the output folder is the last line. False (with the reason on
// stderr) when a host could not be started or a picture could not be taken.
bool run_demo(const std::filesystem::path& out, uint64_t seed);

} // namespace zimtone::cli
