#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "platform/foundation/NSString.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/hosts/SettingsHostGuard.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

using nlohmann::json;
using zimtone::testing::HostUnderTest;
using zimtone::testing::TempDevice;
namespace fs = std::filesystem;

TEST(SettingsGuard, FilesOnlyFromInsideTheirFolder) {
    TempDevice device;
    fs::create_directories(device.root() / "inside" / "sub");
    std::ofstream(device.root() / "inside" / "a.png") << "x";
    std::ofstream(device.root() / "inside" / "sub" / "b.png") << "x";
    std::ofstream(device.root() / "secret.txt") << "x";
    fs::create_symlink(device.root() / "secret.txt", device.root() / "inside" / "link.png");
    fs::path inside = device.root() / "inside";
    EXPECT_TRUE(zimtone::sim::file_inside(inside, "a.png"));
    EXPECT_TRUE(zimtone::sim::file_inside(inside, "sub/b.png"));
    for (const char* bad : {"../secret.txt", "sub/../../secret.txt", "/etc/passwd", "link.png", "sub", "",
                            "a.png/", "sub//b.png", "./a.png", "..", "%2e%2e/secret.txt", "a\\b.png"})
        EXPECT_FALSE(zimtone::sim::file_inside(inside, bad)) << bad;
}

// A real Settings app process serving the build's bundle on a device with sample apps.
class SettingsHost : public ::testing::Test {
  protected:
    void SetUp() override {
        zimtone::device::generate_default_device(device.root());
        fs::create_directories(device.root() / "Library/PreferenceBundles");
        fs::create_directory_symlink(fs::path(ZIMTONE_BUILD_LIB_DIR) / "Zimtone2.bundle",
                                     device.root() / "Library/PreferenceBundles/Zimtone2.bundle");
        host = std::make_unique<HostUnderTest>("settings", device.root());
        ASSERT_FALSE(host->ready().is_null());
        json answer = host->command("port");
        ASSERT_TRUE(answer.value("ok", false)) << answer.dump();
        port = answer["port"].get<int>();
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
    }
    fs::path settings_file() const {
        return device.root() / "User/Library/Preferences/org.quillhaven.zimtonepro2.plist";
    }
    httplib::Headers own_origin() const { return {{"Origin", "http://127.0.0.1:" + std::to_string(port)}}; }
    httplib::Result post(const json& action, httplib::Headers headers = {}) {
        return client->Post("/api/action", headers, action.dump(), "application/json");
    }

    TempDevice device;
    std::unique_ptr<HostUnderTest> host;
    std::unique_ptr<httplib::Client> client;
    int port{0};
};

TEST_F(SettingsHost, ServesThePageAndActsOnSameOriginRequests) {
    auto page = client->Get("/api/page");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    json root = json::parse(page->body);
    EXPECT_EQ(root["class"], "Zimtone2ListController");
    int banners = -1;
    for (auto& row : root["rows"])
        if (row.value("detail", "") == "Zimtone2BannerSettings")
            banners = row["index"];
    ASSERT_GE(banners, 0);
    auto pushed = post({{"type", "tap"}, {"row", banners}}, own_origin());
    ASSERT_TRUE(pushed);
    ASSERT_EQ(pushed->status, 200) << pushed->body;
    json banner = json::parse(pushed->body);
    int enabled = -1;
    for (auto& row : banner["rows"])
        if (row.value("key", "") == "BannersEnabled")
            enabled = row["index"];
    auto set = post({{"type", "set"}, {"row", enabled}, {"value", false}}, own_origin());
    ASSERT_EQ(set->status, 200) << set->body;
    EXPECT_TRUE(fs::exists(settings_file()));
    for (const char* file : {"/", "/static/app.js", "/bundle/heart.png"}) {
        auto res = client->Get(file);
        ASSERT_TRUE(res) << file;
        EXPECT_EQ(res->status, 200) << file;
    }
}

TEST_F(SettingsHost, RefusesAForeignHostHeader) {
    for (const char* host_header : {"evil.example", "evil.example:80", "127.0.0.1:1"}) {
        auto res = client->Get("/api/page", {{"Host", host_header}});
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 421) << host_header;
        EXPECT_EQ(res->body.find("Zimtone2ListController"), std::string::npos);
    }
}

TEST_F(SettingsHost, RefusesACrossOriginPostAndChangesNothing) {
    auto res = post({{"type", "tap"}, {"row", 2}}, {{"Origin", "http://evil.example"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 403);
    json page = json::parse(client->Get("/api/page")->body);
    EXPECT_EQ(page["depth"], 1) << "no page was pushed";
    // A form post (no JSON) is refused even without an Origin.
    auto form = client->Post("/api/action", "type=tap&row=2", "application/x-www-form-urlencoded");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 415);
}

TEST_F(SettingsHost, RefusesPathTraversal) {
    for (const char* path : {"/bundle/../../../../etc/passwd", "/bundle/%2e%2e/%2e%2e/%2e%2e/etc/passwd",
                             "/static/../../../../etc/passwd", "/bundle/..%2f..%2f..%2fetc%2fpasswd",
                             "/icons/..", "/bundle/Info.plist/../../../../../../etc/passwd"}) {
        auto res = client->Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_GE(res->status, 400) << path;
        EXPECT_LT(res->status, 500) << path;
        EXPECT_EQ(res->body.find("root:"), std::string::npos) << path;
    }
}

TEST_F(SettingsHost, OversizedOrMalformedRequestsGetA4xxAndChangeNothing) {
    auto big = client->Post("/api/action", own_origin(), std::string(64 * 1024, ' '), "application/json");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 413);
    for (const char* body : {"{", "[1,2]", "{\"type\":\"set\",\"row\":1,\"value\":{}}", "{\"type\":\"warp\"}",
                             "{\"type\":\"tap\",\"row\":999}"}) {
        auto res = client->Post("/api/action", own_origin(), body, "application/json");
        ASSERT_TRUE(res) << body;
        EXPECT_GE(res->status, 400) << body;
        EXPECT_LT(res->status, 500) << body;
    }
    EXPECT_FALSE(fs::exists(settings_file()));
    EXPECT_EQ(json::parse(client->Get("/api/page")->body)["depth"], 1);
}

} // namespace

// Through the page: five keys set, sets the rows' controls could not produce refused with 409 and
// the row named, then an ordinary change: the file holds all five keys and the change.
TEST_F(SettingsHost, ASetTheControlCannotProduceIsRefusedAndCostsNoKey) {
    json root = json::parse(client->Get("/api/page")->body);
    for (auto& row : root["rows"]) {
        if (row.value("detail", "") == "Zimtone2BannerSettings") {
            ASSERT_EQ(post({{"type", "tap"}, {"row", row["index"]}}, own_origin())->status, 200);
        }
    }
    json banner = json::parse(client->Get("/api/page")->body);
    std::map<std::string, int> rows;
    for (auto& row : banner["rows"])
        if (row.contains("key"))
            rows[row["key"]] = row["index"];
    auto set = [&](const std::string& key, const json& value) {
        auto res = post({{"type", "set"}, {"row", rows.at(key)}, {"value", value}}, own_origin());
        return res ? std::pair{res->status, res->body} : std::pair{0, std::string()};
    };
    const std::pair<const char*, json> five[] = {{"BannersEnabled", false},
                                                 {"AllowSaturation", false},
                                                 {"BannerSaturation", 0.25},
                                                 {"BannerAlpha", 0.75},
                                                 {"SpecificAppColor", true}};
    for (const auto& [key, value] : five)
        ASSERT_EQ(set(key, value).first, 200) << key;
    const std::string before = [&] {
        std::ifstream in(settings_file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    for (const json& bad : {json("0.5"), json(1e308), json(-5), json(true)}) {
        auto [status, body] = set("BannerAlpha", bad);
        EXPECT_EQ(status, 409) << bad.dump();
        EXPECT_NE(body.find("(BannerAlpha) accepts a number from 0 to 1"), std::string::npos) << body;
    }
    EXPECT_EQ(set("BannersUnicornEnabled", "yes").first, 409);
    std::ifstream in(settings_file(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);

    ASSERT_EQ(set("BannersUnicornEnabled", true).first, 200);
    json values = json::parse(client->Get("/api/page")->body)["rows"];
    std::map<std::string, json> shown;
    for (auto& row : values)
        if (row.contains("key"))
            shown[row["key"]] = row["value"];
    for (const auto& [key, value] : five)
        EXPECT_EQ(shown[key], value) << key;
    EXPECT_EQ(shown["BannersUnicornEnabled"], true);
}
