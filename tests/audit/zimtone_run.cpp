#include "tests/audit/zimtone_run.h"

#include <sys/wait.h>

#include <cstdio>

#include "tests/support/HostUnderTest.h"

namespace zimtone::testing {

ShellRun run_zimtone_shell(const std::string& arguments, Messages messages) {
    std::string command = (build_bin_dir() / "zimtone").string() + " " + arguments +
                          (messages == Messages::Kept ? " 2>&1" : " 2>/dev/null");
    ShellRun result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char chunk[4096];
    size_t n = 0;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        result.out.append(chunk, n);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

} // namespace zimtone::testing
