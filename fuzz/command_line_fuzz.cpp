// Arbitrary bytes as a host command line. The parser answers a command, nothing (a blank line)
// or an error with a message; a parsed command, quoted word by word, reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/hosts/CommandLine.h"

using namespace zimtone::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    auto parsed = parse_command_line(line);
    bool blank =
        line.size() <= kMaxCommandLine && line.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (!parsed) {
        if (blank || parsed.error().empty())
            std::abort();
        return 0;
    }
    if (!parsed->has_value()) {
        if (!blank)
            std::abort();
        return 0;
    }
    const CommandLine& command = **parsed;

    std::string requoted = quote_word(command.name);
    for (const std::string& arg : command.args)
        requoted += " " + quote_word(arg);
    if (requoted.size() > kMaxCommandLine)
        return 0;
    auto again = parse_command_line(requoted);
    if (!again || !again->has_value() || (*again)->name != command.name || (*again)->args != command.args)
        std::abort();
    return 0;
}
