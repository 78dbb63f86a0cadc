// `zimtone demo` run as a person runs it: every scenario pictured at the screen's 2x size, the
// contact sheet labelling each picture with its settings, and the pictures repeatable by seed.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sim/cli/Demo.h"
#include "tests/support/HostUnderTest.h"

namespace {

namespace fs = std::filesystem;
using zimtone::cli::demo_scenarios;

struct DemoRun {
    int status{-1};
    std::vector<std::string> lines;
};

DemoRun run_demo_command(const std::string& arguments) {
    std::string command =
        (zimtone::testing::build_bin_dir() / "zimtone").string() + " demo " + arguments + " 2>&1";
    DemoRun result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::string out;
    char chunk[4096];
    size_t n = 0;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.append(chunk, n);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        result.lines.push_back(line);
    return result;
}

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t big_endian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The picture names that a scenario's steps ask for, in order.
std::vector<std::string> shots_of(const zimtone::cli::DemoScenario& scenario) {
    std::vector<std::string> shots;
    std::regex shot(R"(\{shot:([a-z0-9-]+)\})");
    for (const auto& step : scenario.steps)
        for (std::sregex_iterator it(step.begin(), step.end(), shot), end; it != end; ++it)
            shots.push_back((*it)[1].str());
    return shots;
}

std::string html_unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (auto [entity, plain] : entities)
        for (size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

// Each picture of the contact sheet and the caption under it, as plain text.
std::map<std::string, std::string> captions_of(const fs::path& index) {
    std::map<std::string, std::string> captions;
    std::string html = bytes_of(index);
    std::regex figure(R"re(<figure><img src="([^"]+)"[^>]*><figcaption>(.*?)</figcaption></figure>)re");
    for (std::sregex_iterator it(html.begin(), html.end(), figure), end; it != end; ++it)
        captions[html_unescaped((*it)[1].str())] =
            html_unescaped(std::regex_replace((*it)[2].str(), std::regex("<[^>]+>"), " "));
    return captions;
}

// ctest runs every case in a process of its own, so each run is made only by the cases that read
// it: "first" (seed 7) by all, "again" (seed 7) and "other" (seed 8) by one case each.
class DemoOutput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        base_ = fs::temp_directory_path() / ("zimtone-demo-test-" + std::to_string(getpid()));
        fs::remove_all(base_);
        first_ = run_demo_command("--out " + (base_ / "first").string() + " --seed 7");
    }
    static void TearDownTestSuite() { fs::remove_all(base_); }

    static DemoRun run(const char* name, int seed) {
        return run_demo_command("--out " + (base_ / name).string() + " --seed " + std::to_string(seed));
    }
    static fs::path picture(const char* run, const std::string& shot) {
        return base_ / run / (shot + ".png");
    }

    static inline fs::path base_;
    static inline DemoRun first_;
};

TEST_F(DemoOutput, ReportsEachScenarioAndEndsWithTheFolder) {
    ASSERT_EQ(first_.status, 0);
    const auto& scenarios = demo_scenarios();
    ASSERT_EQ(first_.lines.size(), scenarios.size() + 1);
    for (size_t i = 0; i < scenarios.size(); ++i) {
        std::string expected = "[" + std::to_string(i + 1) + "/" + std::to_string(scenarios.size()) + "] ";
        EXPECT_EQ(first_.lines[i], expected + scenarios[i].title);
    }
    EXPECT_EQ(fs::path(first_.lines.back()), fs::absolute(base_ / "first"));
}

TEST_F(DemoOutput, EveryScenarioPicturesTheWholeScreenAtTwiceItsSize) {
    ASSERT_EQ(first_.status, 0);
    for (const auto& scenario : demo_scenarios()) {
        SCOPED_TRACE(scenario.title);
        auto shots = shots_of(scenario);
        EXPECT_FALSE(shots.empty());
        for (const auto& shot : shots) {
            std::string png = bytes_of(picture("first", shot));
            ASSERT_GE(png.size(), 24u) << shot;
            EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << shot;
            EXPECT_EQ(png.substr(12, 4), "IHDR") << shot;
            EXPECT_EQ(big_endian(png, 16), 750u) << shot;
            EXPECT_EQ(big_endian(png, 20), 1334u) << shot;
        }
    }
}

TEST_F(DemoOutput, ContactSheetLabelsEveryPictureWithItsSettings) {
    ASSERT_EQ(first_.status, 0);
    auto captions = captions_of(base_ / "first" / "index.html");
    size_t pictures = 0;
    for (const auto& scenario : demo_scenarios()) {
        for (const auto& shot : shots_of(scenario)) {
            SCOPED_TRACE(shot);
            ++pictures;
            auto caption = captions.find(shot + ".png");
            ASSERT_NE(caption, captions.end());
            EXPECT_NE(caption->second.find(scenario.title), std::string::npos) << caption->second;
            if (scenario.settings.empty()) {
                EXPECT_NE(caption->second.find("defaults"), std::string::npos) << caption->second;
            }
            for (const auto& [key, value] : scenario.settings.items()) {
                EXPECT_NE(caption->second.find("\"" + key + "\":" + value.dump()), std::string::npos)
                    << key << " missing from: " << caption->second;
            }
        }
    }
    EXPECT_EQ(captions.size(), pictures);
}

TEST_F(DemoOutput, SameSeedGivesByteIdenticalPictures) {
    ASSERT_EQ(first_.status, 0);
    ASSERT_EQ(run("again", 7).status, 0);
    for (const auto& scenario : demo_scenarios())
        for (const auto& shot : shots_of(scenario)) {
            std::string bytes = bytes_of(picture("first", shot));
            EXPECT_FALSE(bytes.empty()) << shot;
            EXPECT_TRUE(bytes == bytes_of(picture("again", shot)))
                << shot << " differs between two runs with one seed";
        }
}

// A preset that paints like the defaults shows nothing of what it is there to show.
TEST_F(DemoOutput, EveryPresetChangesThePictureOfItsSurface) {
    ASSERT_EQ(first_.status, 0);
    const std::pair<const char*, const char*> presets_and_defaults[] = {
        {"banner-alpha-half", "banner-light-icon"},
        {"banner-saturation-off", "banner-light-icon"},
        {"nc-per-app-colour", "nc"},
        {"nc-alpha-half", "nc"},
        {"nc-saturation-off", "nc"},
        {"lock-screen-gradient", "lock-screen"},
        {"lock-screen-per-app-colour", "lock-screen"},
        {"lock-screen-alpha-half", "lock-screen"},
        {"lock-screen-saturation-off", "lock-screen"},
        {"quick-reply-per-app-colour", "quick-reply"},
        {"quick-reply-saturation-off", "quick-reply"},
    };
    for (auto [preset, defaults] : presets_and_defaults) {
        std::string preset_bytes = bytes_of(picture("first", preset));
        ASSERT_FALSE(preset_bytes.empty()) << preset;
        EXPECT_TRUE(preset_bytes != bytes_of(picture("first", defaults)))
            << preset << " looks like " << defaults;
    }
}

// Every cycling effect: the two frames of a pair differ (a tick came between them), and another
// seed draws other colours.
TEST_F(DemoOutput, CyclingFramesFollowTheClockAndTheSeed) {
    ASSERT_EQ(first_.status, 0);
    ASSERT_EQ(run("other", 8).status, 0);
    const char* const pairs[] = {"banner-cycling", "nc-cycling", "lock-screen-cycling", "keyboard-cycling"};
    for (const char* pair : pairs) {
        SCOPED_TRACE(pair);
        std::string frame1 = bytes_of(picture("first", std::string(pair) + "-1"));
        std::string frame2 = bytes_of(picture("first", std::string(pair) + "-2"));
        ASSERT_FALSE(frame1.empty());
        ASSERT_FALSE(frame2.empty());
        EXPECT_TRUE(frame1 != frame2) << "no tick between the two frames";
        EXPECT_TRUE(frame2 != bytes_of(picture("other", std::string(pair) + "-2")))
            << "the seed changed nothing";
    }
}

TEST(DemoCommand, UnusableOutputFolderIsAClearError) {
    fs::path file = fs::temp_directory_path() / ("zimtone-demo-file-" + std::to_string(getpid()));
    std::ofstream(file) << "not a folder";
    DemoRun run = run_demo_command("--out " + (file / "pictures").string());
    fs::remove(file);
    EXPECT_EQ(run.status, 1);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_NE(run.lines.back().find("zimtone demo: cannot create the output folder " +
                                    (file / "pictures").string()),
              std::string::npos)
        << run.lines.back();
}

} // namespace
