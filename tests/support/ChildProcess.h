// Runs a piece of a test in a forked child and hands back what it printed, for process-wide
// state (start-up, installed hooks) that must start fresh in every case.
#pragma once

#include <functional>
#include <string>

namespace zimtone::testing {

struct ChildResult {
    int exit_code{-1};
    std::string output;
};

// The child's function returns the text to pass back; the child then exits with status 0.
ChildResult run_in_child(const std::function<std::string()>& body);

} // namespace zimtone::testing
