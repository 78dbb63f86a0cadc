// Host commands are lines of words; a word in double quotes may hold blanks, \" and \\.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

namespace zimtone::sim {

inline constexpr size_t kMaxCommandLine = 4096;

struct CommandLine {
    std::string name;
    std::vector<std::string> args;
};

// No command (nullopt) for a blank line; a failure for an unterminated quote, a bad escape, a NUL
// byte or a line longer than kMaxCommandLine.
platform::foundation::Result<std::optional<CommandLine>> parse_command_line(std::string_view line);

// What a command channel has read but not yet run. A line that grows past kMaxCommandLine is
// kept only that far and the rest of it, up to its newline, is dropped as it comes: the buffer
// stays small, and the line still ends and reaches parse_command_line, which calls it too long.
struct CommandInput {
    std::string buffer;
    bool skipping_long_line{false};

    void append(std::string_view bytes);
    // At the end of the channel a line being skipped still gets its answer.
    void end();
    // The next whole line without its newline, taken out of the buffer; nullopt while there is none.
    std::optional<std::string> take_line();
};

// Quotes a word so that parse_command_line reads it back unchanged.
std::string quote_word(std::string_view word);

} // namespace zimtone::sim
