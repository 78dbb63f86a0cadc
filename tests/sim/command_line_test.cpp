#include <gtest/gtest.h>

#include "sim/hosts/CommandLine.h"

using namespace zimtone::sim;

TEST(CommandLine, WordsAndQuotedWords) {
    struct Row {
        const char* line;
        std::vector<std::string> words; // empty: a blank line
    };
    const Row rows[] = {
        { "ping", { "ping" } },
        { "  bulletin com.a  \"Hello world\" \"say \\\"hi\\\"\"  ", { "bulletin", "com.a", "Hello world", "say \"hi\"" } },
        { "x \"\"", { "x", "" } },
        { "x \"a\\\\b\" \"line\\nbreak\"", { "x", "a\\b", "line\nbreak" } },
        { "   ", {} },
        { "", {} },
    };
    for (auto& row : rows) {
        CommandError error;
        auto parsed = parse_command_line(row.line, &error);
        EXPECT_TRUE(error.message.empty()) << row.line;
        if (row.words.empty()) {
            EXPECT_FALSE(parsed) << row.line;
            continue;
        }
        ASSERT_TRUE(parsed) << row.line;
        std::vector<std::string> words { parsed->name };
        words.insert(words.end(), parsed->args.begin(), parsed->args.end());
        EXPECT_EQ(words, row.words) << row.line;
    }
}

TEST(CommandLine, MalformedLinesAreRefusedWithAReason) {
    struct Row {
        std::string line;
        const char* error;
    };
    const Row rows[] = {
        { "say \"open", "unterminated quote" },
        { "say \"bad \\q\"", "unknown escape in quoted word" },
        { "say \"trailing\\", "unterminated quote" },
        { "a\"b", "quote inside a word" },
        { std::string("nul\0byte", 8), "NUL byte in command line" },
        { std::string(kMaxCommandLine + 1, 'a'), "command line too long" },
    };
    for (auto& row : rows) {
        CommandError error;
        EXPECT_FALSE(parse_command_line(row.line, &error));
        EXPECT_EQ(error.message, row.error);
    }
}

TEST(CommandLine, QuotingRoundTrips) {
    for (std::string word : { "", "plain", "two words", "quote \" and \\ slash", "new\nline" }) {
        auto parsed = parse_command_line("cmd " + quote_word(word), nullptr);
        ASSERT_TRUE(parsed);
        ASSERT_EQ(parsed->args.size(), 1u);
        EXPECT_EQ(parsed->args[0], word);
    }
}
