// The Settings app's pane driver, in process: a "set" reaches a page only with a value the row's
// control could produce, and what the pane writes never costs the file a key.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/hosts/SettingsHostPane.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

namespace {

using nlohmann::json;
using platform::foundation::NSNumber;
using zimtone::testing::TempDevice;
namespace fs = std::filesystem;

class SettingsHostPaneValues : public ::testing::Test {
  protected:
    void SetUp() override {
        zimtone::device::generate_default_device(device_.root());
        fs::create_directories(device_.root() / "Library/PreferenceBundles");
        fs::create_directory_symlink(fs::path(ZIMTONE_BUILD_LIB_DIR) / "Zimtone2.bundle",
                                     device_.root() / "Library/PreferenceBundles/Zimtone2.bundle");
        auto loaded = pane_.load();
        ASSERT_TRUE(loaded) << loaded.error();
        const json root = pane_.page();
        for (const auto& row : root["rows"]) {
            if (row.value("detail", "") == "Zimtone2BannerSettings") {
                ASSERT_TRUE(act({{"type", "tap"}, {"row", row["index"]}}).is_object()) << error_;
            }
        }
        ASSERT_EQ(pane_.page()["class"], "Zimtone2BannerSettings");
    }

    // The new page, or null with the refusal in error_.
    json act(const json& action) {
        auto page = pane_.act(action);
        error_ = page.error();
        return page ? *page : json();
    }
    int row_of(const std::string& key) {
        const json page = pane_.page();
        for (const auto& row : page["rows"])
            if (row.value("key", "") == key)
                return row["index"].get<int>();
        ADD_FAILURE() << "no row for " << key;
        return -1;
    }
    // The refusal, or "" when the value was taken.
    std::string set(const std::string& key, const json& value) {
        act({{"type", "set"}, {"row", row_of(key)}, {"value", value}});
        return error_;
    }
    fs::path settings_file() const { return device_.path(zimtone::settings::kSettingsFile); }
    std::string settings_bytes() const {
        auto bytes = zimtone::testing::read_bytes(settings_file());
        return std::string(bytes.begin(), bytes.end());
    }
    json stored(const std::string& key) const {
        auto file = platform::foundation::read_dictionary_file(zimtone::settings::kSettingsFile);
        auto* number = file ? dynamic_cast<NSNumber*>(file->get(key).get()) : nullptr;
        if (!number)
            return nullptr;
        return number->kind() == NSNumber::Kind::Bool ? json(number->boolValue())
                                                      : json(number->doubleValue());
    }

    TempDevice device_;
    zimtone::sim::SettingsHostPane pane_;
    std::string error_;
};

TEST_F(SettingsHostPaneValues, OnlyValuesTheRowsControlProducesAreStored) {
    ASSERT_EQ(set("BannerAlpha", 0.5), "");
    const std::string huge(9u << 20, 'x');
    struct Case {
        const char* key;
        json value;
        std::string refusal; // empty: stored
    } cases[] = {
        {"BannersEnabled", true, ""},
        {"BannersEnabled", false, ""},
        {"BannersEnabled", "yes", "accepts true or false, not \"yes\""},
        {"BannersEnabled", 1, "accepts true or false, not 1"},
        {"BannersEnabled", 0.5, "accepts true or false, not 0.5"},
        {"BannerAlpha", 0, ""},
        {"BannerAlpha", 1, ""},
        {"BannerAlpha", 0.25, ""},
        {"BannerAlpha", -5, "accepts a number from 0 to 1, not -5"},
        {"BannerAlpha", 1.5, "accepts a number from 0 to 1, not 1.5"},
        {"BannerAlpha", 1e308, "accepts a number from 0 to 1, not 1e+308"},
        {"BannerAlpha", true, "accepts a number from 0 to 1, not true"},
        {"BannerAlpha", "0.5", "accepts a number from 0 to 1, not \"0.5\""},
        {"BannerSaturation", huge,
         "accepts a number from 0 to 1, not \"" + std::string(39, 'x') + "... (9437186 bytes)"},
        // Cut before the character that straddles the excerpt's end, never inside it.
        {"BannerSaturation", std::string(38, 'x') + "\xC3\xA9tc",
         "accepts a number from 0 to 1, not \"" + std::string(38, 'x') + "... (44 bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.value.dump().substr(0, 20));
        const std::string before = settings_bytes();
        const std::string refusal = set(c.key, c.value);
        if (c.refusal.empty()) {
            EXPECT_EQ(refusal, "");
            EXPECT_EQ(stored(c.key), c.value.is_number() ? json(c.value.get<double>()) : c.value);
        } else {
            EXPECT_EQ(refusal, "row " + std::to_string(row_of(c.key)) + " (" + c.key + ") " + c.refusal);
            EXPECT_TRUE(settings_bytes() == before) << "the file changed";
        }
        EXPECT_FALSE(pane_.page().contains("alert"));
    }
}

// Five keys set, a refused set, then an ordinary change: all five keys and the change remain.
TEST_F(SettingsHostPaneValues, ARefusedSetCostsNoKey) {
    const std::pair<const char*, json> five[] = {{"BannersEnabled", false},
                                                 {"AllowSaturation", false},
                                                 {"BannerSaturation", 0.25},
                                                 {"BannerAlpha", 0.75},
                                                 {"SpecificAppColor", true}};
    for (const auto& [key, value] : five)
        ASSERT_EQ(set(key, value), "") << key;
    EXPECT_NE(set("BannerAlpha", std::string(9u << 20, 'x')), "");
    EXPECT_NE(set("BannerAlpha", 1e308), "");
    ASSERT_EQ(set("BannersUnicornEnabled", true), "");
    for (const auto& [key, value] : five)
        EXPECT_EQ(stored(key), value) << key;
    EXPECT_EQ(stored("BannersUnicornEnabled"), true);
}

// A settings file that cannot be read is not replaced: the pane's failed-write alert says so and
// the file keeps every byte.
TEST_F(SettingsHostPaneValues, AnUnreadableFileShowsTheFailedWriteAlertAndStaysAsItIs) {
    auto settings = platform::foundation::NSMutableDictionary::create();
    for (const char* key :
         {"BannersEnabled", "AllowSaturation", "BannerSaturation", "BannerAlpha", "tavoEffect"})
        settings->set(key, NSNumber::numberWithDouble(0.5));
    settings->set("Padding", platform::foundation::ns(std::string(9u << 20, 'x')));
    zimtone::testing::write_bytes(settings_file(),
                                  platform::foundation::serialise_property_list(
                                      settings.get(), platform::foundation::PlistFormat::XML));
    const std::string before = settings_bytes();
    json page = act({{"type", "set"}, {"row", row_of("BannerAlpha")}, {"value", 0.25}});
    ASSERT_EQ(error_, "");
    ASSERT_TRUE(page.contains("alert")) << page.dump().substr(0, 200);
    const std::string message = page["alert"]["message"];
    EXPECT_NE(
        message.find("cannot read " + std::string(zimtone::settings::kSettingsFile) + ": larger than 8 MiB"),
        std::string::npos)
        << message;
    EXPECT_NE(message.find("left as it is"), std::string::npos) << message;
    EXPECT_TRUE(settings_bytes() == before) << "the file changed";
    EXPECT_TRUE(act({{"type", "alert"}, {"action", 0}}).is_object()) << error_;
    EXPECT_FALSE(pane_.page().contains("alert"));
}

} // namespace

namespace {

TEST_F(SettingsHostPaneValues, EachActionTypeRefusesWhatItCannotDoWithItsOwnReason) {
    struct Case {
        json action;
        const char* refusal;
    } cases[] = {
        {{{"type", "nonsense"}}, "unknown action 'nonsense'"},
        {json::object(), "unknown action ''"},
        {{{"type", 7}}, "unknown action ''"},
        {{{"type", "tap"}, {"row", 99}}, "no row 99 on this page"},
        {{{"type", "set"}, {"row", "1"}}, "no row -1 on this page"},
        {{{"type", "heart"}}, "no heart button is shown"},
        {{{"type", "respring"}}, "no Respring button is shown"},
        {{{"type", "alert"}, {"action", 0}}, "no dialog is open"},
        {{{"type", "share"}}, "no share sheet is open"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action.dump());
        EXPECT_TRUE(act(c.action).is_null());
        EXPECT_EQ(error_, c.refusal);
        EXPECT_EQ(pane_.page()["class"], "Zimtone2BannerSettings") << "the page stays";
    }
}

TEST_F(SettingsHostPaneValues, RespringButtonShowsOnThePageWhereTheKeyThatNeedsItChanged) {
    EXPECT_TRUE(pane_.page()["respring"].is_null());
    ASSERT_EQ(set("BannerAlpha", 0.5), "");
    EXPECT_TRUE(pane_.page()["respring"].is_null()) << "the opacity needs no respring";
    ASSERT_EQ(set("BannersEnabled", false), "");
    EXPECT_EQ(pane_.page()["respring"], "Respring");
    EXPECT_EQ(pane_.page()["depth"], 2);
    ASSERT_TRUE(act({{"type", "back"}}).is_object()) << error_;
    EXPECT_EQ(pane_.page()["respring"], "Respring") << "and on the first page after going back";
}

} // namespace
