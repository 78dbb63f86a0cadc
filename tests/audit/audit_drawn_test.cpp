// `zimtone audit` on texts as the hosts draw them: its numbers checked against the pictures it
// leaves (decoded and measured here with WCAG's published formula), and the readability problems
// a person meets on the default device found, explained and fixed by the colours it proposes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "colour/Image.h"
#include "platform/foundation/PropertyList.h"
#include "platform/uikit/png_codec.h"
#include "settings/Keys.h"
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
    return zimtone::testing::run_zimtone_shell(arguments, zimtone::testing::Messages::Dropped);
}

// WCAG 2.x relative luminance and contrast, as published (sRGB knee at 0.04045).
double luminance(double r, double g, double b) {
    auto lin = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

double contrast(const double a[3], const double b[3]) {
    double la = luminance(a[0], a[1], a[2]), lb = luminance(b[0], b[1], b[2]);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// One audit of a device, kept for every test of the file: the drawing takes seconds.
struct Audit {
    std::unique_ptr<TempDevice> device;
    fs::path pictures;
    fs::path html;
    json answer;
    std::string page;

    std::vector<json> elements(const std::string& app, const std::string& surface = "") const {
        std::vector<json> found;
        for (const auto& e : answer["elements"])
            if (e["app"] == app && (surface.empty() || e["surface"] == surface))
                found.push_back(e);
        return found;
    }
    const json* app_row(const std::string& app) const {
        for (const auto& row : answer["apps"])
            if (row["app"] == app)
                return &row;
        return nullptr;
    }
};

constexpr const char* kDarkIconApp = "com.example.zebra";      // black and white stripes, with actions
constexpr const char* kReplyApp = "com.apple.MobileSMS";       // a light green icon: the keyboard's colour
constexpr const char* kWhiteTextApp = "com.example.moonlight"; // a dark icon: white text

// The two audits run once for the file, each when a test first needs it, so that a test run alone
// draws only what it looks at.
class AuditDrawn : public ::testing::Test {
  protected:
    static const Audit& defaults() {
        if (!defaults_) {
            defaults_ = new Audit;
            run_audit(*defaults_, {}, true);
        }
        return *defaults_;
    }

    // The stripes stored as a greyscale PNG, a black per-app colour for an app with white text,
    // and each colour the default audit proposed.
    static const Audit& changed() {
        if (!changed_) {
            json colours = json::array({{{kWhiteTextApp, "000000"}}});
            for (const auto& row : defaults().answer["apps"])
                if (row.contains("proposal") && row["proposal"].is_object() &&
                    row["proposal"]["colour"].is_string())
                    colours.push_back({{row["app"], row["proposal"]["colour"]}});
            changed_ = new Audit;
            run_audit(*changed_, {{"SpecificAppColor", true}, {"Specific_App_Color", colours}}, false);
        }
        return *changed_;
    }

    static void TearDownTestSuite() {
        delete defaults_;
        delete changed_;
        defaults_ = changed_ = nullptr;
    }

    static void run_audit(Audit& audit, const json& settings, bool pictures) {
        audit.device = std::make_unique<TempDevice>();
        const fs::path& root = audit.device->root();
        // The default device with the tweak installed, as a person sets it up.
        auto init = run("--root " + root.string() + " device init");
        ASSERT_EQ(init.status, 0) << init.out;
        if (!settings.empty()) {
            using namespace zimtone::device;
            for (const auto& [file, size] :
                 {std::pair("Icon-Small.png", 29), std::pair("Icon-Small@2x.png", 58),
                  std::pair("Icon-Small@3x.png", 87)})
                write_icon_file(root / "Applications" / (std::string(kDarkIconApp) + ".app") / file,
                                {{0x22, 0x22, 0x22, 255}, {0x0E, 0x0E, 0x0E, 255}, 0, 0, {}}, size,
                                StorageModel::Grey);
            platform::foundation::write_property_list_file(zimtone::settings::kSettingsFile,
                                                           zimtone::sim::object_from_json(settings).get());
        }
        std::string extra;
        if (pictures) {
            audit.pictures = root / "pictures";
            audit.html = root / "audit.html";
            extra = " --pictures " + audit.pictures.string() + " --html " + audit.html.string();
        }
        auto result = run("--root " + root.string() + " audit --json" + extra);
        ASSERT_EQ(result.status, 0) << result.out;
        audit.answer = json::parse(result.out, nullptr, false);
        ASSERT_TRUE(audit.answer.is_object() && audit.answer.contains("elements")) << result.out;
        EXPECT_TRUE(audit.answer["tweak_loaded"].get<bool>());
        if (pictures) {
            std::ifstream in(audit.html);
            audit.page.assign(std::istreambuf_iterator<char>(in), {});
        }
    }

    static Audit* defaults_;
    static Audit* changed_;
};

Audit* AuditDrawn::defaults_ = nullptr;
Audit* AuditDrawn::changed_ = nullptr;

TEST_F(AuditDrawn, ContrastIsTheTextOverThePixelsDrawnUnderItsBox) {
    std::map<std::string, std::optional<zimtone::colour::Image>> pictures;
    auto picture = [&](const std::string& path) -> const zimtone::colour::Image* {
        auto& image = pictures[path];
        if (!image)
            image = platform::uikit::decodePng(path, 2.0);
        return image ? &*image : nullptr;
    };
    const json& elements = defaults().answer["elements"];
    ASSERT_GT(elements.size(), 100u);
    for (const auto& e : elements) {
        std::string what = e["app"].get<std::string>() + " " + e["surface"].get<std::string>() + " " +
                           e["element"].get<std::string>() + " '" + e["text"].get<std::string>() + "'";
        const auto* bare = picture(e["bare_picture"]);
        const auto* drawn = picture(e["picture"]);
        ASSERT_TRUE(bare && drawn) << what;
        // The box in points, at two pixels a point, lies on whole pixels.
        int x0 = static_cast<int>(e["box"][0].get<double>() * 2),
            y0 = static_cast<int>(e["box"][1].get<double>() * 2);
        int x1 = x0 + static_cast<int>(e["box"][2].get<double>() * 2);
        int y1 = y0 + static_cast<int>(e["box"][3].get<double>() * 2);
        ASSERT_TRUE(x0 >= 0 && y0 >= 0 && x1 <= bare->pixel_width && y1 <= bare->pixel_height && x1 > x0 &&
                    y1 > y0)
            << what;
        const double text[4] = {e["drawn"][0], e["drawn"][1], e["drawn"][2], e["drawn"][3]};
        std::vector<double> ratios;
        bool inked = false;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                size_t at = (static_cast<size_t>(y) * bare->pixel_width + x) * 4;
                double below[3], mixed[3];
                for (int c = 0; c < 3; ++c) {
                    below[c] = bare->pixels[at + c] / 255.0;
                    mixed[c] = text[c] * text[3] + below[c] * (1 - text[3]);
                    inked |= drawn->pixels[at + c] != bare->pixels[at + c];
                }
                ratios.push_back(contrast(mixed, below));
            }
        EXPECT_TRUE(inked) << what << ": the box holds the text's ink";
        std::sort(ratios.begin(), ratios.end());
        double worst = ratios[(ratios.size() - 1) / 10], median = ratios[(ratios.size() - 1) / 2];
        EXPECT_NEAR(e["contrast"]["worst_tenth"].get<double>(), worst, 1e-6) << what;
        EXPECT_NEAR(e["contrast"]["median"].get<double>(), median, 1e-6) << what;

        double size = e["font"]["size"], weight = e["font"]["weight"];
        bool large = size >= 18 || (size >= 14 && weight >= 700);
        EXPECT_EQ(e["large"].get<bool>(), large) << what;
        double threshold = large || e["element"] == "clear button" ? 3.0 : 4.5;
        EXPECT_EQ(e["threshold"].get<double>(), threshold) << what;
        EXPECT_EQ(e["fails"].get<bool>(), worst < threshold) << what;
        EXPECT_EQ(e["below_4_5"].get<bool>(), worst < 4.5) << what;
        EXPECT_EQ(e["below_3"].get<bool>(), worst < 3.0) << what;
        EXPECT_EQ(e["cause"].is_string(), e["fails"].get<bool>()) << what << ": a failing text names a cause";
    }
}

TEST_F(AuditDrawn, EverySurfaceOfEveryAppIsMeasured) {
    std::map<std::string, std::set<std::string>> surfaces;
    for (const auto& e : defaults().answer["elements"])
        surfaces[e["app"]].insert(e["surface"]);
    for (const auto& row : defaults().answer["apps"]) {
        std::set<std::string> expected = {"banner", "notification-center", "lock-screen"};
        if (row["app"] == kReplyApp)
            expected.insert({"quick-reply", "keyboard"});
        EXPECT_EQ(surfaces[row["app"]], expected) << row["app"];
    }
    // Each element the issue names on each surface is there.
    std::map<std::string, std::set<std::string>> named;
    for (const auto& e : defaults().answer["elements"])
        named[e["surface"]].insert(e["element"]);
    const std::map<std::string, std::set<std::string>> wanted = {
        {"banner", {"title", "subtitle", "message", "date", "button"}},
        {"notification-center", {"section header", "title", "message", "date"}},
        {"lock-screen", {"title", "message", "date", "unlock text"}},
        {"quick-reply", {"field text", "placeholder", "send button"}},
        {"keyboard", {"key", "suggestion"}},
    };
    for (const auto& [surface, elements] : wanted)
        for (const auto& element : elements)
            EXPECT_TRUE(named[surface].count(element)) << surface << " " << element;
}

TEST_F(AuditDrawn, KnownProblemsAreFlaggedWithTheirCause) {
    struct Case {
        const Audit* audit;
        const char* app;
        const char* surface;
        const char* element;
        const char* cause;
    };
    const Case cases[] = {
        // Pure red titles (the saturation step on white) on the maroon of a dark icon.
        {&defaults(), kDarkIconApp, "banner", "button", "saturation step"},
        // White key caps on the bright green of a light icon.
        {&defaults(), kReplyApp, "keyboard", "key", "automatic text colour"},
        // The stripes as a greyscale PNG: the colour engine reads black.
        {&changed(), kDarkIconApp, "banner", "button", "greyscale"},
    };
    for (const auto& c : cases) {
        auto elements = c.audit->elements(c.app, c.surface);
        size_t failing = 0;
        for (const auto& e : elements) {
            if (e["element"] != c.element)
                continue;
            EXPECT_TRUE(e["fails"].get<bool>()) << c.app << " " << c.surface << " " << e["text"];
            if (e["fails"].get<bool>()) {
                ++failing;
                EXPECT_NE(e["cause"].get<std::string>().find(c.cause), std::string::npos) << e["cause"];
            }
        }
        EXPECT_GT(failing, 0u) << c.app << " " << c.surface << " " << c.element;
        const json* row = c.audit->app_row(c.app);
        ASSERT_TRUE(row);
        EXPECT_GE((*row)["texts_failing"].get<size_t>(), failing);
        std::set<std::string> failing_apps(c.audit->answer["failing_apps"].begin(),
                                           c.audit->answer["failing_apps"].end());
        EXPECT_TRUE(failing_apps.count(c.app)) << c.app;
    }
    // The keys are white on a light keyboard, whatever the text colour rule chose elsewhere.
    for (const auto& e : defaults().elements(kReplyApp, "keyboard"))
        if (e["element"] == "key") {
            EXPECT_EQ(e["drawn"], json({1.0, 1.0, 1.0, 1.0}));
            const json& behind = e["background"]["median"];
            EXPECT_GT(0.299 * behind[0].get<double>() + 0.587 * behind[1].get<double>() +
                          0.114 * behind[2].get<double>(),
                      0.5);
        }
}

TEST_F(AuditDrawn, WhiteTextOnAnOpaqueBlackTintPasses) {
    size_t white = 0;
    for (const auto& e : changed().elements(kWhiteTextApp)) {
        if (e["drawn"] != json({1.0, 1.0, 1.0, 1.0}))
            continue;
        ++white;
        EXPECT_FALSE(e["fails"].get<bool>()) << e["surface"] << " " << e["element"];
        EXPECT_GT(e["contrast"]["worst_tenth"].get<double>(), 15.0) << e["surface"] << " " << e["element"];
    }
    EXPECT_GE(white, 10u) << "title, subtitle, message and date on banner and lock screen at least";
}

TEST_F(AuditDrawn, ProposedColoursWrittenToTheSettingsMakeTheirAppPass) {
    size_t proposed = 0;
    for (const auto& row : defaults().answer["apps"]) {
        if (!row["proposal"].is_object() || !row["proposal"]["colour"].is_string())
            continue;
        ++proposed;
        std::string app = row["app"];
        EXPECT_GT(row["texts_failing"].get<size_t>(), 0u) << app << ": only failing apps get a proposal";
        EXPECT_NE(
            row["proposal"]["how"].get<std::string>().find(row["proposal"]["colour"].get<std::string>()),
            std::string::npos);
        auto elements = changed().elements(app);
        EXPECT_FALSE(elements.empty()) << app;
        for (const auto& e : elements)
            EXPECT_FALSE(e["fails"].get<bool>())
                << app << " " << e["surface"] << " " << e["element"] << " " << e["contrast"]["worst_tenth"];
    }
    EXPECT_GT(proposed, 0u) << "the default device has apps a colour of their own hue fixes";
}

TEST_F(AuditDrawn, HtmlShowsEachFailingTextCroppedBesideItsNumbers) {
    size_t failing = 0;
    std::set<std::string> apps;
    for (const auto& e : defaults().answer["elements"])
        if (e["fails"].get<bool>()) {
            ++failing;
            apps.insert(e["app"]);
        }
    const std::string& page = defaults().page;
    size_t crops = 0;
    for (size_t at = page.find("<img class=\"crop\""); at != std::string::npos;
         at = page.find("<img class=\"crop\"", at + 1)) {
        ++crops;
        EXPECT_EQ(page.compare(page.find("src=\"", at) + 5, 22, "data:image/png;base64,"), 0);
    }
    EXPECT_EQ(crops, failing);
    size_t sections = 0;
    for (size_t at = page.find("<section class=\"app\""); at != std::string::npos;
         at = page.find("<section class=\"app\"", at + 1))
        ++sections;
    EXPECT_EQ(sections, apps.size()) << "grouped by app";
}

// The host's own command, as the page or a person sends it.
TEST(TextAuditCommand, AnswersOnlyFailingTextsWhenAskedAndRefusesBadArguments) {
    TempDevice device;
    auto init = run("--root " + device.root().string() + " device init");
    ASSERT_EQ(init.status, 0) << init.out;
    zimtone::testing::HostUnderTest host("messages", device.root(), true);
    ASSERT_TRUE(host.ready().is_object());
    ASSERT_TRUE(host.command("reply Anna \"Lunch?\"").value("ok", false));
    json all = host.command("text-audit");
    json failing = host.command("text-audit --failing");
    ASSERT_TRUE(all.value("ok", false) && failing.value("ok", false)) << all.dump() << failing.dump();
    size_t expected = 0;
    for (const auto& text : all["texts"])
        expected += text["fails"].get<bool>() ? 1 : 0;
    EXPECT_GT(expected, 0u) << "the keys are white on the light green keyboard";
    EXPECT_EQ(failing["texts"].size(), expected);
    for (const auto& text : failing["texts"])
        EXPECT_TRUE(text["fails"].get<bool>());

    struct Case {
        std::string line;
        std::string error;
    };
    const Case cases[] = {
        {"text-audit a.png b.png c.png", "at most two file names"},
        {"text-audit /proc/drawn.png", "screenshot writes only under the device root"},
    };
    for (const auto& c : cases) {
        json answer = host.command(c.line);
        EXPECT_FALSE(answer.value("ok", true)) << c.line;
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << answer.dump();
    }
    EXPECT_TRUE(host.command("ping").value("ok", false)) << "the host keeps answering";
}

} // namespace
