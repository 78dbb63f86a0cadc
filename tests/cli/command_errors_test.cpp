// `zimtone` given what a new user or a careless script gives it: every mistake is a one-line
// error with a non-zero status (2 for bad arguments, 1 for a failure), and nothing waits forever.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "tests/cli/command_run.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;
using zimtone::testing::run_zimtone;
using zimtone::testing::TempDevice;

// Paths the rows name by placeholder, made fresh for each test.
class Places {
  public:
    Places() {
        fs::create_directories(device_.root() / "folder");
        std::ofstream(file()) << "not a folder";
        mkfifo(fifo().c_str(), 0600);
        fs::create_directories(deaf_root() / "var/run");
        std::ofstream(deaf_root() / "var/run/zimtone-notify") << "no sockets can be made here";
    }
    fs::path root() const { return device_.root(); }
    fs::path missing() const { return device_.root() / "no-device-here"; }
    fs::path file() const { return device_.root() / "a-file"; }
    fs::path fifo() const { return device_.root() / "icon.fifo"; }
    // A device whose notification folder is a file.
    fs::path deaf_root() const { return device_.root() / "deaf"; }

    std::string expand(std::string text) const {
        const std::pair<const char*, fs::path> names[] = {
            {"{root}", root()}, {"{missing}", missing()}, {"{file}", file()},
            {"{fifo}", fifo()}, {"{deaf}", deaf_root()},  {"{folder}", root() / "folder"}};
        for (const auto& [name, path] : names)
            for (size_t at; (at = text.find(name)) != std::string::npos;)
                text.replace(at, std::strlen(name), path.string());
        return text;
    }

  private:
    TempDevice device_;
};

struct Row {
    std::vector<std::string> arguments;
    int status;
    std::string err;      // a fragment of stderr
    std::string out = ""; // stdout exactly
};

void check(const Places& places, const Row& row) {
    std::vector<std::string> arguments;
    std::string shown;
    for (const auto& word : row.arguments) {
        arguments.push_back(places.expand(word));
        shown += (word.size() > 30 ? word.substr(0, 30) + "..." : word) + " ";
    }
    SCOPED_TRACE(shown);
    auto run = run_zimtone(arguments, places.missing());
    ASSERT_FALSE(run.timed_out) << "the command did not end";
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_NE(run.err.find(places.expand(row.err)), std::string::npos) << run.err;
    EXPECT_EQ(run.out, places.expand(row.out));
    if (row.status == 2) {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2)
            << "one line of error and a usage hint: " << run.err;
    }
}

TEST(CommandErrors, FilesThatAreNoRegularFileAreRefusedWithoutWaiting) {
    Places places;
    const Row rows[] = {
        {{"colour", "{fifo}"}, 1, "zimtone: {fifo} is not a regular file"},
        {{"colour", "{folder}"}, 1, "zimtone: {folder} is not a regular file"},
        {{"colour", "{missing}"}, 1, "zimtone: cannot read {missing}: No such file or directory"},
        {{"colour", "{file}"}, 1, "zimtone: cannot read {file} as a PNG image"},
        {{"audit", "{fifo}"}, 1, "zimtone audit: {fifo} is not a regular file"},
        {{"settings", "--file", "{fifo}"}, 1, "zimtone: {fifo} is not a regular file"},
        {{"settings", "--file", "{missing}"}, 1, "zimtone: cannot read {missing}: No such file or directory"},
    };
    for (const auto& row : rows)
        check(places, row);
}

TEST(CommandErrors, NotificationNamesAndRootsThatCannotBeUsedAreErrors) {
    Places places;
    const Row rows[] = {
        {{"--root", "{root}", "post", ""},
         2,
         "zimtone: not a notification name (printable ASCII, 1 to 1019 characters): \"\""},
        {{"--root", "{root}", "post", "two\nlines"},
         2,
         "not a notification name (printable ASCII, 1 to 1019 characters): \"two\\nlines\""},
        {{"--root", "{root}", "post", std::string(5000, 'n')}, 2, "not a notification name"},
        {{"--root", "{root}", "post", "bad\xff\xfeutf8"}, 2, "not a notification name"},
        {{"--root", "{root}", "observe", "fine", "\x01"}, 2, "not a notification name"},
        {{"--root", "{file}", "post", "com.example.ping"},
         1,
         "zimtone: the device root {file} is not a folder"},
        {{"--root", "{file}", "observe", "com.example.ping"},
         1,
         "zimtone: the device root {file} is not a folder"},
        {{"--root", "{deaf}", "post", "com.example.ping"}, 1, "zimtone: could not post com.example.ping"},
        {{"--root", "{deaf}", "observe", "com.example.ping"}, 1, "zimtone: cannot observe"},
    };
    for (const auto& row : rows)
        check(places, row);
}

TEST(CommandErrors, CommandsThatNeedADeviceSayThereIsNoneAndHowToMakeOne) {
    Places places;
    const std::string none =
        "zimtone: no device at {missing} yet; run 'zimtone device init' (with the same --root) to make one";
    const Row rows[] = {
        {{"audit"}, 1, none},
        {{"audit", "--json"}, 1, none},
        {{"settings"}, 1, none},
        {{"--root", "{missing}", "post", "com.example.ping"}, 1, none},
        {{"observe", "com.example.ping"}, 1, none},
    };
    for (const auto& row : rows)
        check(places, row);
    EXPECT_FALSE(fs::exists(places.missing())) << "a command other than device init made the device root";
}

TEST(CommandErrors, UnknownCommandsAreNamedAndRootIsTakenAfterTheCommandToo) {
    Places places;
    const Row rows[] = {
        {{"bogus"}, 2, "zimtone: unknown command 'bogus'"},
        {{"hex", "bogus"}, 2, "zimtone: unknown command 'hex bogus'"},
        {{"settings", "--root", "{missing}"}, 1, "no device at {missing} yet"},
        {{"observe", "com.example.ping", "--root", "{file}"}, 1, "the device root {file} is not a folder"},
        {{"hex", "decode", "--root", "{root}", "7f7f7f"}, 0, "", "[0.5,0.5,0.5,1.0]\n"},
    };
    for (const auto& row : rows)
        check(places, row);
}

TEST(CommandErrors, ColourComponentsAreFractionsAndSaySo) {
    Places places;
    const Row rows[] = {
        {{"hex", "encode", "255", "0", "0"}, 2, "zimtone: red: 255 is not a number from 0 to 1"},
        {{"hex", "encode", "-1", "2", "0.5"}, 2, "red: -1 is not a number from 0 to 1"},
        {{"hex", "encode", "0", "0", "nan"}, 2, "blue: nan is not a number from 0 to 1"},
        {{"hex", "encode", "0", "1e400", "0"}, 2, "green: 1e400 is not a number from 0 to 1"},
        {{"hex", "encode", "0.5", "0.5", "0.5"}, 0, "", "7f7f7f\n"},
        {{"hex", "encode", "1", "0", "0"}, 0, "", "ff0000\n"},
        {{"saturate", "1", "0.5", "0.5", "1", "2"}, 2, "saturation: 2 is not a number from 0 to 1"},
        {{"saturate", "1", "0.5", "0.5", "-0.1", "1"}, 2, "alpha: -0.1 is not a number from 0 to 1"},
        {{"saturate", "1", "0.5", "0.5", "1", "1"}, 0, "", "[1.0,0.0,0.0,1.0]\n"},
        {{"reverse", "0", "1.5", "0"}, 2, "green: 1.5 is not a number from 0 to 1"},
        {{"reverse", "1", "0", "0"}, 0, "", "white\n"},
    };
    for (const auto& row : rows)
        check(places, row);
}

TEST(CommandErrors, HelpStatesRangesAndWhereTheDemoWrites) {
    struct HelpRow {
        std::vector<std::string> arguments;
        std::vector<std::string> lines; // fragments of the help text
    };
    const HelpRow rows[] = {
        {{"hex", "encode", "--help"}, {"red, 0 to 1", "green, 0 to 1", "blue, 0 to 1"}},
        {{"saturate", "--help"}, {"red, 0 to 1", "alpha, 0 to 1", "saturation, 0 to 1"}},
        {{"reverse", "--help"}, {"red, 0 to 1", "blue, 0 to 1"}},
        {{"demo", "--help"}, {"in ./zimtone-demo unless --out", "zimtone-demo in the current folder"}},
        {{"settings", "--help"}, {"--root"}},
    };
    Places places;
    for (const auto& row : rows) {
        auto run = run_zimtone(row.arguments, places.missing());
        SCOPED_TRACE(row.arguments.front());
        EXPECT_EQ(run.status, 0);
        for (const auto& line : row.lines)
            EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;
    }
}

TEST(CommandErrors, DemoBlamesAnOutputFolderItCannotMake) {
    Places places;
    check(places, {{"demo", "--out", "/proc/zimtone-demo"},
                   1,
                   "zimtone demo: cannot create the output folder /proc/zimtone-demo"});
    check(places, {{"demo", "--out", "{file}/pictures"},
                   1,
                   "zimtone demo: cannot create the output folder {file}/pictures"});
}

} // namespace
