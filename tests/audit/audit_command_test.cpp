// `zimtone audit` run as a person runs it, its answers checked against a WCAG contrast and a text
// colour rule computed here from their published formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "colour/adjustments.h"
#include "platform/applist/AppDirectory.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/device/IconPainter.h"
#include "sim/launcher/JsonValues.h"
#include "tests/audit/zimtone_run.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using zimtone::testing::TempDevice;

zimtone::testing::ShellRun run(const std::string& arguments) {
    return zimtone::testing::run_zimtone_shell(arguments, zimtone::testing::Messages::Kept);
}

// WCAG 2.0 as written: sRGB linearisation with the 0.03928 knee, channels clamped to 0..1.
double wcag_luminance(double r, double g, double b) {
    auto lin = [](double c) {
        c = std::min(1.0, std::max(0.0, c));
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

double wcag_contrast(const json& a, const json& b) {
    double la = wcag_luminance(a[0], a[1], a[2]);
    double lb = wcag_luminance(b[0], b[1], b[2]);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// White text on a background whose BT.601 luma is below one half, black otherwise.
std::string text_for(const json& background) {
    double luma = 0.299 * background[0].get<double>() + 0.587 * background[1].get<double>() +
                  0.114 * background[2].get<double>();
    return luma < 0.5 ? "white" : "black";
}

json rgb(const std::string& text) {
    return text == "white" ? json{1, 1, 1} : json{0, 0, 0};
}

class AuditCommand : public ::testing::Test {
  protected:
    void SetUp() override { zimtone::device::generate_default_device(device.root()); }

    json audit_json(const std::string& extra = "") {
        auto result = run("--root " + device.root().string() + " audit --json " + extra);
        EXPECT_EQ(result.status, 0) << result.out;
        auto answer = json::parse(result.out, nullptr, false);
        EXPECT_TRUE(answer.is_object()) << result.out;
        return answer;
    }

    void write_settings(const json& settings) {
        ASSERT_TRUE(platform::foundation::write_property_list_file(
            zimtone::settings::kSettingsFile, zimtone::sim::object_from_json(settings).get()));
    }

    // Every row's text colour, contrasts and flags against the independent computation; answers
    // the apps that fall below 4.5:1 by that computation.
    std::set<std::string> check_rows(const json& apps) {
        std::set<std::string> below;
        for (const auto& row : apps) {
            std::string app = row["app"];
            EXPECT_EQ(row["text"], text_for(row["dominant"])) << app;
            if (row["tint"].is_null()) {
                EXPECT_TRUE(row["contrast"].is_null()) << app;
                EXPECT_FALSE(row["below_4_5"].get<bool>()) << app;
                continue;
            }
            double contrast = wcag_contrast(rgb(row["text"]), row["tint"]);
            std::string other = row["text"] == "white" ? "black" : "white";
            EXPECT_NEAR(row["contrast"].get<double>(), contrast, 1e-4) << app;
            EXPECT_NEAR(row["other_contrast"].get<double>(), wcag_contrast(rgb(other), row["tint"]), 1e-4)
                << app;
            EXPECT_EQ(row["below_4_5"].get<bool>(), contrast < 4.5) << app;
            EXPECT_EQ(row["below_3"].get<bool>(), contrast < 3.0) << app;
            if (contrast < 4.5)
                below.insert(app);
        }
        return below;
    }

    TempDevice device;
};

TEST_F(AuditCommand, DefaultDeviceFlagsTheAppsWhoseTextFallsBelowAA) {
    json answer = audit_json();
    const json& apps = answer["apps"];
    ASSERT_EQ(apps.size(), platform::applist::read_app_directory().size());
    for (const auto& row : apps) {
        // The defaults replace the saturation with 1 and paint the tint fully opaque.
        const json& d = row["dominant"];
        auto expected = zimtone::colour::modifySaturationWith({d[0], d[1], d[2], d[3]}, 1.0);
        EXPECT_NEAR(row["tint"][0].get<double>(), expected.red, 1e-9) << row["app"];
        EXPECT_NEAR(row["tint"][1].get<double>(), expected.green, 1e-9) << row["app"];
        EXPECT_NEAR(row["tint"][2].get<double>(), expected.blue, 1e-9) << row["app"];
        EXPECT_DOUBLE_EQ(row["tint_alpha"].get<double>(), 1.0) << row["app"];
        if (!row["icon"].get<bool>()) {
            EXPECT_EQ(d, json({0, 0, 0, 1})) << "an app without an icon is black";
        }
    }
    std::set<std::string> flagged(answer["flagged"].begin(), answer["flagged"].end());
    EXPECT_EQ(flagged, check_rows(apps));
    // Saturating pale blues gives mid blues that neither black nor white text reads well on.
    EXPECT_FALSE(flagged.empty());
}

TEST_F(AuditCommand, PerAppColoursAndTheSettingsFileDecideTheTint) {
    auto samples = zimtone::device::default_apps();
    ASSERT_GE(samples.size(), 3u);
    const std::string yellow_app = samples[0].bundle_identifier;
    const std::string broken_app = samples[1].bundle_identifier;
    write_settings(
        {{"SpecificAppColor", true},
         {"AllowSaturation", false},
         {"BannerAlpha", 0.5},
         {"Specific_App_Color", json::array({{{yellow_app, "FFFF00"}}, {{broken_app, "nothex"}}})}});
    json answer = audit_json();
    int seen = 0;
    for (const auto& row : answer["apps"]) {
        if (row["app"] == yellow_app) {
            ++seen;
            EXPECT_TRUE(row["per_app_colour"].get<bool>());
            EXPECT_NEAR(row["tint"][0].get<double>(), 255.0 / 254.0, 1e-6);
            EXPECT_NEAR(row["tint"][2].get<double>(), 0.0, 1e-12);
            EXPECT_DOUBLE_EQ(row["tint_alpha"].get<double>(), 0.5);
        } else if (row["app"] == broken_app) {
            ++seen;
            EXPECT_TRUE(row["tint"].is_null()) << "an undecodable per-app colour paints nothing";
        } else {
            EXPECT_FALSE(row["per_app_colour"].get<bool>());
            EXPECT_EQ(row["tint"], row["dominant"])
                << "without the saturation step the tint is the icon colour";
        }
    }
    EXPECT_EQ(seen, 2);
    std::set<std::string> flagged(answer["flagged"].begin(), answer["flagged"].end());
    EXPECT_EQ(flagged, check_rows(answer["apps"]));
}

TEST_F(AuditCommand, GivenIconsReportTheirTransparentShare) {
    using namespace zimtone::device;
    // A 20x20 opaque square in the middle of a 40x40 icon: three quarters transparent.
    IconDesign framed{{20, 40, 200, 255}, {20, 40, 200, 255}, 0.25, 0, {}};
    IconDesign full{{250, 250, 240, 255}, {250, 250, 240, 255}, 0, 0, {}};
    fs::path framed_file = device.root() / "framed.png";
    fs::path full_file = device.root() / "full.png";
    write_icon_file(framed_file, framed, 40, StorageModel::RGB);
    write_icon_file(full_file, full, 40, StorageModel::RGB);
    json answer = audit_json(framed_file.string() + " " + full_file.string());
    ASSERT_EQ(answer["apps"].size(), 2u);
    EXPECT_EQ(answer["apps"][0]["app"], "framed.png");
    EXPECT_NEAR(answer["apps"][0]["transparent_share"].get<double>(), 0.75, 0.02);
    EXPECT_NEAR(answer["apps"][1]["transparent_share"].get<double>(), 0.0, 1e-12);
    // The transparent margin darkens the mean: the framed blue reads darker than its paint.
    EXPECT_LT(answer["apps"][0]["dominant"][2].get<double>(), 200.0 / 255.0 * 0.5);
    std::set<std::string> flagged(answer["flagged"].begin(), answer["flagged"].end());
    EXPECT_EQ(flagged, check_rows(answer["apps"]));
}

TEST_F(AuditCommand, OutputsAgreeAndBadInputIsAClearError) {
    json answer = audit_json();
    fs::path html_file = device.root() / "audit.html";
    auto table = run("--root " + device.root().string() + " audit --html " + html_file.string());
    ASSERT_EQ(table.status, 0) << table.out;
    EXPECT_NE(table.out.find(std::to_string(answer["apps"].size()) + " apps, " +
                             std::to_string(answer["flagged"].size()) + " below 4.5:1"),
              std::string::npos)
        << table.out;

    std::ifstream in(html_file);
    std::string html((std::istreambuf_iterator<char>(in)), {});
    size_t swatches = 0;
    for (size_t at = html.find("class=\"swatch\""); at != std::string::npos;
         at = html.find("class=\"swatch\"", at + 1))
        ++swatches;
    EXPECT_EQ(swatches, answer["apps"].size());

    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"audit " + (device.root() / "missing.png").string(),
         "cannot read " + (device.root() / "missing.png").string()},
        {"audit --html " + (device.root() / "no" / "such" / "dir.html").string(), "cannot write"},
    };
    for (const auto& c : cases) {
        auto result = run("--root " + device.root().string() + " " + c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments;
        EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
    }
}

TEST_F(AuditCommand, HtmlEscapesNamesTakenFromFiles) {
    using namespace zimtone::device;
    fs::path odd = device.root() / "a<b>&.png";
    write_icon_file(odd, {{10, 10, 10, 255}, {10, 10, 10, 255}, 0, 0, {}}, 20, StorageModel::RGB);
    fs::path html_file = device.root() / "audit.html";
    auto result = run("--root " + device.root().string() + " audit --html " + html_file.string() + " '" +
                      odd.string() + "'");
    ASSERT_EQ(result.status, 0) << result.out;
    std::ifstream in(html_file);
    std::string html((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(html.find("a&lt;b&gt;&amp;.png"), std::string::npos);
    EXPECT_EQ(html.find("a<b>"), std::string::npos);
}

} // namespace
