// Host commands are lines of words; a word in double quotes may hold blanks, \" and \\.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zimtone::sim {

inline constexpr size_t kMaxCommandLine = 4096;

struct CommandLine {
    std::string name;
    std::vector<std::string> args;
};

struct CommandError {
    std::string message;
};

// nullopt for a blank line; an error for an unterminated quote, a bad escape, a NUL byte or a
// line longer than kMaxCommandLine.
std::optional<CommandLine> parse_command_line(std::string_view line, CommandError* error);

// Quotes a word so that parse_command_line reads it back unchanged.
std::string quote_word(std::string_view word);

} // namespace zimtone::sim
