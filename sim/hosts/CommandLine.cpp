#include "sim/hosts/CommandLine.h"

namespace zimtone::sim {

platform::foundation::Result<std::optional<CommandLine>> parse_command_line(std::string_view line) {
    using platform::foundation::Failure;
    auto fail = [](const char* why) { return Failure{why}; };
    if (line.size() > kMaxCommandLine)
        return fail("command line too long");
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == '\0')
            return fail("NUL byte in command line");
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
                if (d == '\0')
                    return fail("NUL byte in command line");
                if (d == '\\') {
                    if (i >= line.size())
                        return fail("unterminated quote");
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
            if (!closed)
                return fail("unterminated quote");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != '\n') {
                if (line[i] == '\0')
                    return fail("NUL byte in command line");
                if (line[i] == '"')
                    return fail("quote inside a word");
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    if (words.empty())
        return std::optional<CommandLine>();
    CommandLine command{std::move(words.front()), {}};
    command.args.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
    return std::optional<CommandLine>(std::move(command));
}

void CommandInput::append(std::string_view bytes) {
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        if (!skipping_long_line) {
            size_t last = buffer.rfind('\n');
            size_t open = buffer.size() - (last == std::string::npos ? 0 : last + 1);
            size_t room = kMaxCommandLine + 1 - open;
            buffer.append(text.substr(0, room));
            skipping_long_line = text.size() >= room; // already too long; the rest changes nothing
        }
        if (end == std::string_view::npos)
            return;
        buffer += '\n';
        skipping_long_line = false;
        bytes.remove_prefix(end + 1);
    }
}

void CommandInput::end() {
    if (skipping_long_line)
        buffer += '\n';
    skipping_long_line = false;
}

std::optional<std::string> CommandInput::take_line() {
    size_t end = buffer.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return line;
}

std::string quote_word(std::string_view word) {
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

} // namespace zimtone::sim
