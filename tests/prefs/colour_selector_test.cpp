#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "colour/adjustments.h"
#include "colour/bridge/ColourServices.h"
#include "colour/hex_codec.h"
#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "prefs/ApplicationColorViewer.h"
#include "prefs/preview_colour.h"
#include "settings/ExcludedApps.h"
#include "settings/Keys.h"
#include "tests/prefs/PaneDevice.h"

namespace {

using namespace platform::runtime;
using platform::foundation::NSArray;
using platform::foundation::NSDictionary;
using platform::preferences::PSIndexPath;
using platform::preferences::PSListController;
using platform::preferences::PSSpecifier;
using platform::uikit::UIAlertController;
using zimtone::colour::Colour;
using zimtone::prefs::ApplicationColorViewer;
using zimtone::testing::PaneDevice;

Ref<NSArray> rows_of(PSListController* page) {
    return msg<Ref<NSArray>>(page, "specifiers"_sel);
}

void tap(PSListController* page, int64_t row) {
    msg(page, "tableView:didSelectRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
        static_cast<Object*>(PSIndexPath::indexPathForRow(row, 0).get()));
}

ApplicationColorViewer* cell_at(PSListController* page, int64_t row) {
    Ref<Object> cell =
        msg<Ref<Object>>(page, "tableView:cellForRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
                         static_cast<Object*>(PSIndexPath::indexPathForRow(row, 0).get()));
    return dynamic_cast<ApplicationColorViewer*>(cell.get());
}

// Types the text into the colour dialog of the row and taps the button with that title.
void answer_dialog(PSListController* page, int64_t row, const std::string& text, const std::string& button) {
    tap(page, row);
    Ref<UIAlertController> alert(dynamic_cast<UIAlertController*>(page->presentedViewController()));
    ASSERT_NE(alert, nullptr);
    alert->textFields().at(0)->setText(platform::foundation::ns(text).get());
    for (size_t i = 0; i < alert->actions().size(); ++i)
        if (alert->actions()[i]->title()->str() == button) {
            alert->tap_action(i);
            return;
        }
    FAIL() << "no button " << button;
}

std::string bundle_id_at(PSListController* page, int64_t row) {
    return *page->specifier_at(row)->string_property("bundleID");
}

// The per-app colours stored in the file as (identifier, hex) pairs.
std::vector<std::pair<std::string, std::string>> stored_colours(const PaneDevice& device) {
    std::vector<std::pair<std::string, std::string>> out;
    Ref<Object> value = device.stored(zimtone::settings::kPerAppColoursKey);
    auto* array = dynamic_cast<NSArray*>(value.get());
    if (!array)
        return out;
    for (auto& item : array->items())
        if (auto* d = dynamic_cast<NSDictionary*>(item.get()))
            for (auto& k : d->keys())
                out.emplace_back(k, *platform::foundation::string_of(d->get(k).get()));
    return out;
}

TEST(ColourSelector, ListsAppsByNameIgnoringCaseWithoutTheExcludedOnes) {
    PaneDevice device;
    auto* page = device.open("Zimtone2ApplicationSelector");
    auto rows = rows_of(page);
    auto all = platform::applist::ALApplicationList::sharedApplicationList()->applications();
    ASSERT_GT(rows->count(), 5u);
    size_t excluded_installed = std::count_if(all->keys().begin(), all->keys().end(), [](auto& id) {
        return zimtone::settings::is_excluded_from_pane(id);
    });
    EXPECT_GT(excluded_installed, 0u) << "the sample device should have some system apps to hide";
    EXPECT_EQ(rows->count() + excluded_installed, all->count());
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    std::string previous;
    for (uint64_t i = 0; i < rows->count(); ++i) {
        auto* row = dynamic_cast<PSSpecifier*>(rows->objectAtIndex(i).get());
        std::string id = *row->string_property("bundleID");
        EXPECT_FALSE(zimtone::settings::is_excluded_from_pane(id)) << id;
        EXPECT_LE(previous, lower(row->name()->str())) << id;
        previous = lower(row->name()->str());
        EXPECT_EQ(row->cellType(), platform::preferences::PSStaticTextCell);
        EXPECT_EQ(row->properties()->get("cellClass").get(),
                  static_cast<Object*>(objc_getClass("ApplicationColorViewer")));
        EXPECT_EQ(row->buttonAction(), "alertID:"_sel);
        EXPECT_EQ(row->target(), page);
    }
    EXPECT_EQ(rows_of(page).get(), rows.get()) << "rows are built once per page";
}

TEST(ColourSelector, TheHexDialogStoresOnlyValidEntries) {
    PaneDevice device;
    auto* page = device.open("Zimtone2ApplicationSelector");
    std::string id = bundle_id_at(page, 0);
    struct Case {
        const char* typed;
        const char* button;
        std::optional<std::string> stored;
    } cases[] = {
        {"#FF8800", "Save", "FF8800"},       {"xff8800", "Save", "ff8800"},
        {" ff8800", "Save", "ff8800"},       {"ff8800", "Save", std::nullopt},
        {"#ff880011", "Save", std::nullopt}, {"#ff88zz", "Save", std::nullopt},
        {"#123456", "Cancel", std::nullopt},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(device.settings_file());
        answer_dialog(page, 0, c.typed, c.button);
        auto* shown = dynamic_cast<UIAlertController*>(page->presentedViewController());
        if (c.stored) {
            EXPECT_EQ(stored_colours(device),
                      (std::vector<std::pair<std::string, std::string>>{{id, *c.stored}}))
                << c.typed;
            EXPECT_EQ(shown, nullptr) << c.typed;
        } else {
            EXPECT_FALSE(std::filesystem::exists(device.settings_file()))
                << c.typed << ": nothing is written";
            if (std::string(c.button) == "Save") {
                ASSERT_NE(shown, nullptr) << c.typed;
                EXPECT_EQ(shown->title()->str(), "Zimtone 2");
                EXPECT_EQ(shown->message()->str(), "Not a hex value");
                ASSERT_EQ(shown->actions().size(), 1u);
                EXPECT_EQ(shown->actions()[0]->title()->str(), "OK");
                shown->tap_action(0);
            } else {
                EXPECT_EQ(shown, nullptr);
            }
        }
    }
}

TEST(ColourSelector, TheDialogNamesTheAppAndOffersCancelThenSave) {
    PaneDevice device;
    auto* page = device.open("Zimtone2ApplicationSelector");
    tap(page, 2);
    auto* alert = dynamic_cast<UIAlertController*>(page->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title()->str(), "Hex Color Ex. (#ffffff)");
    EXPECT_EQ(alert->message()->str(), bundle_id_at(page, 2));
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0]->text()->str(), "");
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title()->str(), "Cancel");
    EXPECT_EQ(alert->actions()[1]->title()->str(), "Save");
    auto* clicked = dynamic_cast<PSIndexPath*>(msg<Ref<Object>>(page, "clickedIndexPath"_sel).get());
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->row(), 2);
}

TEST(ColourSelector, SavingReplacesTheFirstEntryAndRecoloursTheTappedRow) {
    PaneDevice device;
    platform::foundation::RunLoop::main().use_virtual_clock(0);
    auto* page = device.open("Zimtone2ApplicationSelector");
    std::string id = bundle_id_at(page, 1);
    device.write_settings(
        "<key>BannersUnicornEnabled</key><true/><key>BannerAlpha</key><real>0.5</real>"
        "<key>Specific_App_Color</key><array><dict><key>com.other</key><string>000000</string></dict>"
        "<dict><key>" +
        id +
        "</key><string>111111</string></dict>"
        "<dict><key>" +
        id + "</key><string>222222</string></dict></array>");
    // Another row cycles (no stored colour); the tapped one shows its stored colour.
    EXPECT_TRUE(cell_at(page, 0)->is_cycling());
    auto* cell = cell_at(page, 1);
    EXPECT_FALSE(cell->is_cycling());
    answer_dialog(page, 1, "#FF8800", "Save");
    EXPECT_EQ(stored_colours(device), (std::vector<std::pair<std::string, std::string>>{
                                          {"com.other", "000000"}, {id, "FF8800"}, {id, "222222"}}));
    Colour expected =
        zimtone::colour::modifySaturationWith(*zimtone::colour::colorWithHexString("FF8800"), 1.0);
    expected.alpha = static_cast<double>(0.5f);
    EXPECT_EQ(cell->disc_colour(), expected);
}

TEST(ColourSelector, AFailedSaveIsShownWithWhatTheFileHoldsAndTheRowKeepsItsColour) {
    PaneDevice device;
    platform::foundation::RunLoop::main().use_virtual_clock(0);
    auto* page = device.open("Zimtone2ApplicationSelector");
    const std::string stored_id = bundle_id_at(page, 1);
    device.write_settings(
        "<key>AllowSaturation</key><false/><key>Specific_App_Color</key><array><dict><key>" + stored_id +
        "</key><string>111111</string></dict></array>");
    const std::string before = device.settings_bytes();
    // A directory where the writers' lock file belongs makes every write fail.
    std::filesystem::create_directories(platform::foundation::resolve_device_path(
        platform::foundation::FileLock::lock_device_path(zimtone::settings::kSettingsFile)));
    struct Case {
        int64_t row;
        std::string holds;
    };
    const Case cases[] = {{1, "\"111111\""}, {2, "no colour for it"}};
    for (const auto& c : cases) {
        const std::string id = bundle_id_at(page, c.row);
        SCOPED_TRACE(id);
        auto* cell = cell_at(page, c.row);
        const Colour shown = cell->disc_colour();
        answer_dialog(page, c.row, "#FF8800", "Save");
        auto* alert = dynamic_cast<UIAlertController*>(page->presentedViewController());
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title()->str(), "Zimtone 2");
        const std::string message = alert->message()->str();
        EXPECT_TRUE(message.starts_with("Could not save the colour of " + id + " (")) << message;
        EXPECT_TRUE(message.ends_with("). The settings file holds " + c.holds + ".")) << message;
        ASSERT_EQ(alert->actions().size(), 1u);
        EXPECT_EQ(alert->actions()[0]->title()->str(), "OK");
        alert->tap_action(0);
        EXPECT_EQ(device.settings_bytes(), before);
        EXPECT_EQ(cell->disc_colour(), shown) << "the row still shows what the file holds";
    }
}

TEST(ColourSelector, SavingStopsTheCyclingOfTheTappedRow) {
    PaneDevice device;
    platform::foundation::RunLoop::main().use_virtual_clock(0);
    device.write_settings("<key>BannersUnicornEnabled</key><true/><key>AllowSaturation</key><false/>");
    auto* page = device.open("Zimtone2ApplicationSelector");
    auto* cell = cell_at(page, 3);
    ASSERT_TRUE(cell->is_cycling());
    Colour before = cell->disc_colour();
    platform::foundation::RunLoop::main().advance(0.5);
    EXPECT_NE(cell->disc_colour(), before) << "a new random colour every half second";
    for (double channel : {cell->disc_colour().red, cell->disc_colour().green, cell->disc_colour().blue})
        EXPECT_EQ(channel * 256, std::floor(channel * 256)) << "channels are n/256";
    answer_dialog(page, 3, "#00ff00", "Save");
    EXPECT_FALSE(cell->is_cycling());
    Colour saved = cell->disc_colour();
    platform::foundation::RunLoop::main().advance(2);
    EXPECT_EQ(cell->disc_colour(), saved);
    EXPECT_EQ(saved, *zimtone::colour::colorWithHexString("00ff00"));
}

TEST(ColourPreview, TheDiscFollowsTheBannerSettingsReadAtCreation) {
    struct Case {
        const char* name;
        std::string settings;
        std::function<Colour(Colour icon)> expected;
        bool cycling;
    } cases[] = {
        {"no file", "", [](Colour c) { return zimtone::colour::modifySaturationWith(c, 1.0); }, false},
        {"saturation not allowed", "<key>AllowSaturation</key><false/>", [](Colour c) { return c; }, false},
        {"saturation 0: grey", "<key>BannerSaturation</key><real>0</real>",
         [](Colour c) { return zimtone::colour::modifySaturationWith(c, 0); }, false},
        {"alpha 0: transparent", "<key>BannerAlpha</key><real>0</real>",
         [](Colour c) {
             c = zimtone::colour::modifySaturationWith(c, 1.0);
             c.alpha = 0;
             return c;
         },
         false},
        {"stored colour shown even with app colours off and cycling on",
         "<key>SpecificAppColor</key><false/><key>BannersUnicornEnabled</key><true/><key>AllowSaturation</"
         "key><false/>"
         "<key>Specific_App_Color</key><array><dict><key>APP</key><string>336699</string></dict>"
         "<dict><key>APP</key><string>ffffff</string></dict></array>",
         [](Colour) { return *zimtone::colour::colorWithHexString("336699"); }, false},
        {"stored value that does not decode: the icon's colour, and no cycling",
         "<key>BannersUnicornEnabled</key><true/>"
         "<key>Specific_App_Color</key><array><dict><key>APP</key><string>#12345g</string></dict></array>",
         [](Colour c) { return zimtone::colour::modifySaturationWith(c, 1.0); }, false},
        {"stored value that is no text: the same",
         "<key>BannersUnicornEnabled</key><true/>"
         "<key>Specific_App_Color</key><array><dict><key>APP</key><integer>336699</integer></dict></array>",
         [](Colour c) { return zimtone::colour::modifySaturationWith(c, 1.0); }, false},
        {"cycling without a stored colour", "<key>BannersUnicornEnabled</key><true/>",
         [](Colour c) { return zimtone::colour::modifySaturationWith(c, 1.0); }, true},
    };
    for (const auto& c : cases) {
        PaneDevice device;
        platform::foundation::RunLoop::main().use_virtual_clock(0);
        auto* page = device.open("Zimtone2ApplicationSelector");
        std::string id = bundle_id_at(page, 0);
        std::string settings = c.settings;
        for (size_t at; (at = settings.find("APP")) != std::string::npos;)
            settings.replace(at, 3, id);
        if (!settings.empty())
            device.write_settings(settings);
        auto icon =
            platform::applist::ALApplicationList::sharedApplicationList()->iconOfSizeForDisplayIdentifier(
                29, platform::foundation::ns(id).get());
        Colour dominant = zimtone::colour::bridge::getDominantColor(icon.get())->colour();
        auto* cell = cell_at(page, 0);
        EXPECT_EQ(cell->disc_colour(), c.expected(dominant)) << c.name;
        EXPECT_EQ(cell->is_cycling(), c.cycling) << c.name;
        auto* disc = cell->applicationIconView();
        EXPECT_EQ(disc->frame().size.width, 29.5) << c.name;
        EXPECT_EQ(disc->layer()->cornerRadius(), 14.75) << c.name;
        EXPECT_TRUE(disc->clipsToBounds()) << c.name;
        EXPECT_FALSE(disc->isUserInteractionEnabled()) << c.name;
        EXPECT_EQ(disc->superview(), cell->contentView()) << c.name;
    }
}

} // namespace
