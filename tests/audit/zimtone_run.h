// Runs the build's `zimtone` through the shell, as the audit's tests give it a command line.
#pragma once

#include <string>

namespace zimtone::testing {

struct ShellRun {
    int status{-1}; // the exit status; -1 when it did not start or did not exit
    std::string out;
};

// What the tests read besides standard output: the messages too, or nothing (output that must
// parse as JSON).
enum class Messages { Kept, Dropped };

ShellRun run_zimtone_shell(const std::string& arguments, Messages messages);

} // namespace zimtone::testing
