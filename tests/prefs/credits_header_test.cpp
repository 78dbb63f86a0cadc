#include <gtest/gtest.h>

#include <set>

#include "colour/hex_codec.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/controllers/UINavigationController.h"
#include "prefs/CreditCell.h"
#include "prefs/ZimtoneHeaderTable.h"
#include "tests/prefs/PaneDevice.h"

namespace {

using namespace platform::runtime;
using platform::foundation::ns;
using platform::preferences::PSIndexPath;
using platform::preferences::PSListController;
using platform::preferences::PSSpecifier;
using zimtone::testing::PaneDevice;

Ref<Object> cell_for(PSListController* page, int64_t row) {
    return msg<Ref<Object>>(page, "tableView:cellForRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
                            static_cast<Object*>(PSIndexPath::indexPathForRow(row, 0).get()));
}

int64_t first_row_of_cell(PSListController* page, const char* cell_class) {
    auto rows = msg<Ref<platform::foundation::NSArray>>(page, "specifiers"_sel);
    for (uint64_t i = 0; i < rows->count(); ++i)
        if (dynamic_cast<PSSpecifier*>(rows->objectAtIndex(i).get())->properties()->get("cellClass").get() ==
            static_cast<Object*>(objc_getClass(cell_class)))
            return static_cast<int64_t>(i);
    return -1;
}

TEST(Credits, TappingACreditOpensTheBestClientElseTheWeb) {
    struct Case {
        std::set<std::string> installed;
        std::string expected_prefix;
    } cases[] = {
        {{}, "https://mobile.twitter.com/"},
        {{"twitter"}, "twitter://user?screen_name="},
        {{"twitterrific", "twitter"}, "twitterrific:///profile?screen_name="},
        {{"tweetbot", "twitter"}, "tweetbot:///user_profile/"},
    };
    for (const auto& c : cases) {
        PaneDevice device;
        auto& app = platform::uikit::UIApplication::shared();
        app.installed_url_schemes = {"http", "https"};
        app.installed_url_schemes.insert(c.installed.begin(), c.installed.end());
        app.opened_urls.clear();
        auto* credits = device.open("Zimtone2Credits");
        int64_t row = first_row_of_cell(credits, "CreditCell");
        ASSERT_GE(row, 0);
        auto* item = credits->specifier_at(row).get();
        // Were the inherited handling to run, this would push a page.
        item->properties()->set("detail", ns("Zimtone2BannerSettings"));
        std::string handle = *item->string_property("twitterName");
        msg(credits, "tableView:didSelectRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
            static_cast<Object*>(PSIndexPath::indexPathForRow(row, 0).get()));
        EXPECT_EQ(app.opened_urls, std::vector<std::string>{c.expected_prefix + handle});
        EXPECT_EQ(device.navigation()->stack().size(), 2u);
    }
}

TEST(Credits, FollowWithoutANameOpensNothing) {
    PaneDevice device;
    auto& app = platform::uikit::UIApplication::shared();
    app.opened_urls.clear();
    auto* credits = device.open("Zimtone2Credits");
    msg(credits, "follow:"_sel, static_cast<Object*>(nullptr));
    msg(credits, "follow:"_sel, static_cast<Object*>(ns("bad name with spaces").get()));
    EXPECT_TRUE(app.opened_urls.empty());
}

TEST(Credits, TheCellShowsNameHandleAndJob) {
    PaneDevice device;
    auto* credits = device.open("Zimtone2Credits");
    int64_t row = first_row_of_cell(credits, "CreditCell");
    auto* item = credits->specifier_at(row).get();
    auto* cell = dynamic_cast<zimtone::prefs::CreditCell*>(cell_for(credits, row).get());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->devNameLabel()->text()->str(), *item->string_property("name"));
    EXPECT_EQ(cell->twitterLabel()->text()->str(), "@" + *item->string_property("twitterName"));
    EXPECT_EQ(cell->jobLabel()->text()->str(), *item->string_property("jobTitle"));
    EXPECT_EQ(cell->devNameLabel()->font()->pointSize(), 18);
    EXPECT_EQ(cell->devNameLabel()->font()->name(), "Helvetica Light");
    EXPECT_EQ(cell->currentView()->frame().origin.x, 95);
    EXPECT_EQ(cell->hiddenView()->frame().origin.x, zimtone::prefs::CreditCell::kScreenWidth);
    EXPECT_NE(cell->devImageView()->image(), nullptr);
    auto* frame = cell->devImageView()->superview();
    EXPECT_EQ(frame->layer()->cornerRadius(), 35);
    EXPECT_EQ(frame->center().y, cell->contentView()->bounds().size.height / 2);
    msg(cell, "bringView:andRemove:"_sel, static_cast<Object*>(cell->hiddenView()),
        static_cast<Object*>(cell->currentView()));
    EXPECT_EQ(cell->currentView()->frame().origin.x, 95);
    EXPECT_EQ(cell->hiddenView()->frame().origin.x, 95 + zimtone::prefs::CreditCell::kScreenWidth - 95);
}

TEST(Header, TheImageMasksAGradientOfTheRowsColoursInOrder) {
    PaneDevice device;
    auto* root = device.root();
    int64_t row = first_row_of_cell(root, "ZimtoneHeaderTable");
    ASSERT_GE(row, 0);
    auto* header = dynamic_cast<zimtone::prefs::ZimtoneHeaderTable*>(cell_for(root, row).get());
    ASSERT_NE(header, nullptr);
    auto colours = header->gradient()->colour_list();
    auto* hexes = dynamic_cast<platform::foundation::NSArray*>(
        root->specifier_at(row)->properties()->get("headerColours").get());
    ASSERT_EQ(colours.size(), hexes->count());
    for (size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(colours[i]->colour(), *zimtone::colour::colorWithHexString(
                                            *platform::foundation::string_of(hexes->items()[i].get())));
    EXPECT_EQ(header->colorWith()->layer()->sublayer_list().front().get(), header->gradient());
    EXPECT_EQ(header->mainView()->layer()->mask(), header->maskLayer());
    EXPECT_NE(header->maskLayer()->contents(), nullptr);
    double height = header->height();
    EXPECT_GT(height, 0);
    header->setFrame({{0, 0}, {600, 200}});
    header->layoutIfNeeded();
    EXPECT_EQ(header->mainView()->frame().size.width, 600);
    EXPECT_EQ(header->mainView()->frame().size.height, height);
    EXPECT_EQ(header->gradient()->frame().size.width, 600);
    EXPECT_EQ(header->maskLayer()->frame().size.width, 600);
}

TEST(Header, ARowWithoutHeightOrWithBadColoursShowsNothingBroken) {
    PaneDevice device;
    auto item =
        PSSpecifier::preferenceSpecifierNamed(nullptr, nullptr, nullptr, nullptr, nullptr, 7, nullptr);
    auto colours = platform::foundation::NSMutableArray::create();
    colours->addObject(ns("zzzzzz"));
    colours->addObject(ns("00ff00"));
    item->properties()->set("headerColours", colours);
    item->properties()->set("headerImage", ns("missing.png"));
    Ref<Object> made = msg<Ref<Object>>(class_createInstance(objc_getClass("ZimtoneHeaderTable")),
                                        "initWithStyle:reuseIdentifier:specifier:"_sel, int64_t{0},
                                        static_cast<Object*>(nullptr), static_cast<Object*>(item.get()));
    auto* header = dynamic_cast<zimtone::prefs::ZimtoneHeaderTable*>(made.get());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->height(), 0);
    EXPECT_EQ(header->gradient()->colour_list().size(), 1u) << "an undecodable colour adds no stop";
    EXPECT_EQ(header->maskLayer()->contents(), nullptr);
}

} // namespace
