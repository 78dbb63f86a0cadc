#include "sim/hosts/CommandLine.h"

namespace zimtone::sim {

std::optional<CommandLine> parse_command_line(std::string_view line, CommandError* error) {
    auto fail = [&](const char* why) -> std::optional<CommandLine> {
        if (error) error->message = why;
        return std::nullopt;
    };
    if (error) error->message.clear();
    if (line.size() > kMaxCommandLine) return fail("command line too long");
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == '\0') return fail("NUL byte in command line");
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\0') return fail("NUL byte in command line");
                if (d == '\\') {
                    if (i >= line.size()) return fail("unterminated quote");
                    char e = line[i++];
                    if (e == 'n')
                        word += '\n';
                    else if (e == '"' || e == '\\')
                        word += e;
                    else
                        return fail("unknown escape in quoted word");
                } else {
                    word += d;
                }
            }
            if (!closed) return fail("unterminated quote");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') {
                if (line[i] == '\0') return fail("NUL byte in command line");
                if (line[i] == '"') return fail("quote inside a word");
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) return std::nullopt;
    CommandLine command { std::move(words.front()), {} };
    command.args.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
    return command;
}

std::string quote_word(std::string_view word) {
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

} // namespace zimtone::sim
