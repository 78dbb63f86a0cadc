#include <gtest/gtest.h>

#include "sim/hosts/CommandLine.h"

using namespace zimtone::sim;

TEST(CommandLine, WordsAndQuotedWords) {
    struct Row {
        const char* line;
        std::vector<std::string> words; // empty: a blank line
    };
    const Row rows[] = {
        {"ping", {"ping"}},
        {"  bulletin com.a  \"Hello world\" \"say \\\"hi\\\"\"  ",
         {"bulletin", "com.a", "Hello world", "say \"hi\""}},
        {"x \"\"", {"x", ""}},
        {"x \"a\\\\b\" \"line\\nbreak\"", {"x", "a\\b", "line\nbreak"}},
        {"   ", {}},
        {"", {}},
    };
    for (auto& row : rows) {
        auto parsed = parse_command_line(row.line);
        ASSERT_TRUE(parsed) << row.line << ": " << parsed.error();
        if (row.words.empty()) {
            EXPECT_FALSE(parsed->has_value()) << row.line;
            continue;
        }
        ASSERT_TRUE(parsed->has_value()) << row.line;
        const CommandLine& command = **parsed;
        std::vector<std::string> words{command.name};
        words.insert(words.end(), command.args.begin(), command.args.end());
        EXPECT_EQ(words, row.words) << row.line;
    }
}

TEST(CommandLine, MalformedLinesAreRefusedWithAReason) {
    struct Row {
        std::string line;
        const char* error;
    };
    const Row rows[] = {
        {"say \"open", "unterminated quote"},
        {"say \"bad \\q\"", "unknown escape in quoted word"},
        {"say \"trailing\\", "unterminated quote"},
        {"a\"b", "quote inside a word"},
        {std::string("nul\0byte", 8), "NUL byte in command line"},
        {std::string(kMaxCommandLine + 1, 'a'), "command line too long"},
    };
    for (auto& row : rows) {
        auto parsed = parse_command_line(row.line);
        EXPECT_FALSE(parsed);
        EXPECT_EQ(parsed.error(), row.error);
    }
}

TEST(CommandLine, QuotingRoundTrips) {
    for (std::string word : {"", "plain", "two words", "quote \" and \\ slash", "new\nline"}) {
        auto parsed = parse_command_line("cmd " + quote_word(word));
        ASSERT_TRUE(parsed && parsed->has_value()) << parsed.error();
        ASSERT_EQ((*parsed)->args.size(), 1u);
        EXPECT_EQ((*parsed)->args[0], word);
    }
}

// Input arrives in pieces of any size; a line past the limit is kept only that far, so it is
// answered as too long, and the lines after it are untouched.
TEST(CommandLine, InputSplitsIntoLinesAndCutsOnlyTheLongOnes) {
    const std::string longest(kMaxCommandLine, 'a');
    const std::string too_long(kMaxCommandLine + 1, 'a');
    struct Row {
        const char* what;
        std::vector<std::string> pieces;
        bool ended;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"lines in one piece", {"ping\nhelp\n"}, false, {"ping", "help"}},
        {"a line over several pieces", {"pi", "ng", "\nhe"}, false, {"ping"}},
        {"an unfinished line waits", {"ping"}, false, {}},
        {"a line exactly at the limit", {longest + "\nping\n"}, false, {longest, "ping"}},
        {"a long line then the next",
         {std::string(100000, 'x') + "\nping\n"},
         false,
         {std::string(kMaxCommandLine + 1, 'x'), "ping"}},
        {"a long line over many pieces", {too_long, too_long, "tail\nping\n"}, false, {too_long, "ping"}},
        {"a long line still open at the end", {too_long, "more"}, true, {too_long}},
        {"an unfinished short line at the end", {"ping"}, true, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CommandInput input;
        for (const auto& piece : row.pieces)
            input.append(piece);
        if (row.ended)
            input.end();
        std::vector<std::string> lines;
        while (auto line = input.take_line())
            lines.push_back(*line);
        EXPECT_TRUE(lines == row.lines)
            << lines.size() << " lines; the first of " << (lines.empty() ? 0 : lines[0].size()) << " bytes";
        EXPECT_LE(input.buffer.size(), kMaxCommandLine + 1) << "the buffer grew with the long line";
    }
    auto parsed = parse_command_line(too_long);
    EXPECT_FALSE(parsed);
    EXPECT_EQ(parsed.error(), "command line too long");
}
