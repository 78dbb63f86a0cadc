// A host's commands run inside its run loop; what one of them throws must end as that command's
// error answer, never as the end of the host.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/NSBundle.h"
#include "sim/hosts/HostProcess.h"

namespace {

using zimtone::sim::CommandResult;
using zimtone::sim::HostProcess;

// A host sets the process's bundle identifier; the next test must not inherit it.
class KeptBundleIdentifier {
  public:
    KeptBundleIdentifier() {
        auto identifier = platform::foundation::NSBundle::mainBundle()->bundleIdentifier();
        saved_ = identifier ? identifier->str() : "";
    }
    ~KeptBundleIdentifier() { platform::foundation::NSBundle::set_main_bundle_identifier(saved_); }

  private:
    std::string saved_;
};

TEST(CommandDispatch, ACommandThatThrowsIsAnsweredAsFailedAndTheHostGoesOn) {
    KeptBundleIdentifier kept;
    HostProcess host("springboard", "com.example.dispatch");
    struct Row {
        std::string name;
        std::function<void()> body;
        std::string error;
    };
    const std::vector<Row> rows = {
        {"number", [] { (void)std::stoi("soon"); }, "number failed: stoi"},
        {"lookup", [] { (void)nlohmann::json::object().at("missing"); },
         "lookup failed: [json.exception.out_of_range.403] key 'missing' not found"},
        {"reading", [] { [[maybe_unused]] auto parsed = nlohmann::json::parse("{"); },
         "reading failed: [json.exception.parse_error.101] parse error at line 1, column 2: syntax error "
         "while parsing object key - unexpected end of input; expected string literal"},
        {"odd", [] { throw 7; }, "odd failed: an unexpected error"},
    };
    std::vector<std::string> ran;
    host.on_command = [&](const std::string& name) { ran.push_back(name); };
    for (const Row& row : rows) {
        host.add_command(row.name, row.name + " (throws)",
                         [body = row.body](const std::vector<std::string>&) {
                             body();
                             return CommandResult::success();
                         });
        nlohmann::json answer = host.execute(row.name);
        EXPECT_EQ(answer.value("ok", true), false) << row.name;
        EXPECT_EQ(answer.value("error", ""), row.error) << row.name;
        EXPECT_EQ(answer.value("usage", ""), row.name + " (throws)") << row.name;
        nlohmann::json next = host.execute("ping");
        EXPECT_EQ(next.value("ok", false), true) << "after " << row.name;
        EXPECT_EQ(next.value("bundle", ""), "com.example.dispatch");
    }
    // Each command is still reported as run, so whatever it changed before throwing is drawn.
    EXPECT_EQ(ran, (std::vector<std::string>{"number", "ping", "lookup", "ping", "reading", "ping", "odd",
                                             "ping"}));
}

} // namespace
