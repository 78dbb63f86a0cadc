#include <gtest/gtest.h>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewDump.h"
#include "platform/uikit/_UIBackdropView.h"

using namespace platform::runtime;
using namespace platform::uikit;
using nlohmann::json;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::NSArray;
using platform::foundation::NSForegroundColorAttributeName;
using platform::foundation::NSMutableAttributedString;

TEST(ViewDump, SmallTreeHasTheDocumentedShape) {
    auto root = UIView::create(CGRectMake(0, 0, 320, 100));
    root->setBackgroundColor(UIColor::colorWithRGBA(0.25, 0.5, 0.75, 0.1).get());
    root->setAlpha(0.5);

    auto backdrop = Ref<UIBackdropView>(
        dynamic_cast<UIBackdropView*>(msg<Ref<Object>>(class_createInstance(UIBackdropView::runtime_class()),
                                                       "initWithStyle:"_sel, int64_t{3900})
                                          .get()));
    backdrop->inputSettings()->setColorTint(UIColor::colorWithRGBA(1, 0, 0, 1).get());
    backdrop->inputSettings()->setColorTintAlpha(0.3);
    backdrop->setBlurRadius(1.0);
    backdrop->setBlurQuality(ns("default").get());
    root->insertSubviewAtIndex(backdrop.get(), 0);

    auto label = UIView::create<UILabel>(CGRectMake(10, 10, 100, 20));
    auto text = NSMutableAttributedString::create("ab");
    text->add_attribute(NSForegroundColorAttributeName, UIColor::whiteColor(), {0, 1});
    label->setAttributedText(text.get());
    label->layer()->setCompositingFilter(ns("plusL").get());
    label->setHidden(true);
    root->addSubview(label.get());

    auto gradient = make_object<CAGradientLayer>();
    gradient->setColors(NSArray::create({UIColor::clearColor(), UIColor::blackColor()}).get());
    root->layer()->insertSublayerAtIndex(gradient.get(), 0);
    root->layer()->setMask(make_object<CALayer>().get());
    root->layer()->setCornerRadius(4);

    json dump = dump_view(root.get());
    json expected = R"({
      "class": "UIView", "frame": [0, 0, 320, 100], "background": [0.25, 0.5, 0.75, 0.1],
      "alpha": 0.5, "hidden": false,
      "layer": {"compositingFilter": null, "cornerRadius": 4.0, "mask": true,
                "gradient": [[0, 0, 0, 0], [0, 0, 0, 1]]},
      "subviews": [
        {"class": "_UIBackdropView", "frame": [0, 0, 0, 0], "background": null, "alpha": 1.0,
         "hidden": false, "layer": {"compositingFilter": null, "cornerRadius": 0.0, "mask": false},
         "style": 3900, "tint": [1, 0, 0, 1], "tintAlpha": 0.3, "blurRadius": 1.0,
         "blurQuality": "default", "subviews": []},
        {"class": "UILabel", "frame": [10, 10, 100, 20], "background": null, "alpha": 1.0,
         "hidden": true, "layer": {"compositingFilter": "plusL", "cornerRadius": 0.0, "mask": false},
         "text": "ab", "textColor": [1, 1, 1, 1], "runColours": [[1, 1, 1, 1], null], "subviews": []}
      ]
    })"_json;
    EXPECT_EQ(dump, expected) << dump.dump(2);
}

TEST(ViewDump, ButtonsListTheirTitleColoursByState) {
    auto button = UIView::create<UIButton>(CGRectMake(0, 0, 40, 20));
    button->setTitleColorForState(UIColor::blackColor().get(), UIControlStateNormal);
    button->setTitleColorForState(UIColor::whiteColor().get(), UIControlStateDisabled);
    json dump = dump_view(button.get());
    EXPECT_EQ(dump["titleColours"], json::parse(R"({"0": [0, 0, 0, 1], "2": [1, 1, 1, 1]})"));
    ASSERT_EQ(dump["subviews"].size(), 1u);
    EXPECT_EQ(dump["subviews"][0]["class"], "UILabel") << "the title label is part of the tree";
    EXPECT_EQ(dump_view(nullptr), json(nullptr));
}

TEST(ViewDump, DoublesPrintAsShortestRoundTrip) {
    auto view = UIView::create(CGRectMake(0.1, 0, 29.5, 1.0 / 3.0));
    EXPECT_EQ(dump_view(view.get())["frame"].dump(), "[0.1,0.0,29.5,0.3333333333333333]");
}
