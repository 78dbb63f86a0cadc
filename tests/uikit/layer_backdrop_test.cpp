#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/_UIBackdropView.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::CGPoint;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::NSArray;
using platform::foundation::NSMutableArray;
using platform::foundation::string_of;

TEST(GradientLayer, DefaultsRunTopToBottomWithEvenSpacing) {
    auto made = msg<Ref<Object>>(CAGradientLayer::runtime_class(), "layer"_sel);
    auto gradient = Ref<CAGradientLayer>(dynamic_cast<CAGradientLayer*>(made.get()));
    ASSERT_TRUE(gradient) << "+layer on the subclass makes the subclass";
    EXPECT_EQ(msg<CGPoint>(gradient, "startPoint"_sel), (CGPoint{0.5, 0.0}));
    EXPECT_EQ(msg<CGPoint>(gradient, "endPoint"_sel), (CGPoint{0.5, 1.0}));
    EXPECT_EQ(msg<Ref<Object>>(gradient, "locations"_sel), nullptr);
    EXPECT_EQ(gradient->colors(), nullptr);

    auto plain = msg<Ref<Object>>(CALayer::runtime_class(), "layer"_sel);
    ASSERT_TRUE(plain);
    EXPECT_EQ(object_getClass(plain.get()), CALayer::runtime_class());
}

TEST(GradientLayer, ColoursAreCopiedWhenSet) {
    auto gradient = make_object<CAGradientLayer>();
    auto clear = UIColor::clearColor();
    auto red = UIColor::colorWithRGBA(1, 0, 0, 0.5);
    auto colours = NSMutableArray::create({clear, msg<Ref<Object>>(red, "CGColor"_sel)});
    msg(gradient, "setColors:"_sel, colours);
    colours->addObject(ns("not a colour"));

    auto stored = msg<Ref<NSArray>>(gradient, "colors"_sel);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->count(), 2u) << "later changes to the caller's array do not reach the layer";
    EXPECT_EQ(gradient->colour_list(), (std::vector<const UIColor*>{clear.get(), red.get()}));

    gradient->setColors(colours.get());
    EXPECT_EQ(gradient->colour_list().back(), nullptr) << "a foreign entry reads as no colour";
}

TEST(LayerTree, SublayersInsertAtAnIndexAndLeaveTheirOldParent) {
    auto host = UIView::create(CGRectMake(0, 0, 10, 10));
    auto* layer = host->layer();
    auto a = make_object<CALayer>(), b = make_object<CALayer>();
    auto gradient = make_object<CAGradientLayer>();
    msg(layer, "addSublayer:"_sel, a);
    msg(layer, "addSublayer:"_sel, b);
    msg(layer, "insertSublayer:atIndex:"_sel, gradient, uint32_t{0});
    ASSERT_EQ(layer->sublayer_list().size(), 3u);
    EXPECT_EQ(layer->sublayer_list()[0].get(), gradient.get());
    EXPECT_EQ(gradient->superlayer(), layer);

    auto other = make_object<CALayer>();
    other->insertSublayerAtIndex(gradient.get(), 40);
    EXPECT_EQ(layer->sublayer_list().size(), 2u);
    EXPECT_EQ(gradient->superlayer(), other.get());

    msg(gradient, "removeFromSuperlayer"_sel);
    EXPECT_EQ(gradient->superlayer(), nullptr);
    EXPECT_EQ(msg<Ref<NSArray>>(other, "sublayers"_sel), nullptr);

    // A layer never becomes its own ancestor.
    a->addSublayer(layer);
    a->addSublayer(a.get());
    EXPECT_EQ(layer->superlayer(), nullptr);
    EXPECT_TRUE(a->sublayer_list().empty());
}

TEST(LayerProperties, FilterMaskCornerAndContentsAreStored) {
    auto view = UIView::create(CGRectMake(0, 0, 29.5, 29.5));
    auto layer = msg<Ref<CALayer>>(view, "layer"_sel);
    layer->setCompositingFilter(ns("plusL").get()); // a host simulating vibrancy
    EXPECT_EQ(*string_of(msg<Ref<Object>>(layer, "compositingFilter"_sel).get()), "plusL");
    msg(layer, "setCompositingFilter:"_sel, static_cast<Object*>(nullptr));
    EXPECT_EQ(layer->compositingFilter(), nullptr);

    auto mask = make_object<CALayer>();
    auto image = UIImage::withImage({});
    msg(layer, "setMask:"_sel, mask);
    msg(layer, "setCornerRadius:"_sel, 14.75);
    msg(layer, "setMasksToBounds:"_sel, true);
    msg(mask, "setContents:"_sel, image);
    EXPECT_EQ(msg<Ref<CALayer>>(layer, "mask"_sel).get(), mask.get());
    EXPECT_DOUBLE_EQ(msg<double>(layer, "cornerRadius"_sel), 14.75);
    EXPECT_TRUE(view->clipsToBounds());
    EXPECT_EQ(mask->contents(), image.get());
}

TEST(Backdrop, StyleBlurAndTintSettingsAreStored) {
    auto made = msg<Ref<Object>>(class_createInstance(UIBackdropView::runtime_class()), "initWithStyle:"_sel,
                                 int64_t{3900});
    auto backdrop = Ref<UIBackdropView>(dynamic_cast<UIBackdropView*>(made.get()));
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(object_getClass(backdrop.get()), objc_getClass("_UIBackdropView"));
    EXPECT_EQ(backdrop->frame(), CGRect{});
    EXPECT_FALSE(backdrop->has_own_frame()) << "a styled backdrop covers its superview until it gets a frame";

    auto settings = msg<Ref<UIBackdropViewSettings>>(backdrop, "inputSettings"_sel);
    ASSERT_TRUE(settings);
    EXPECT_EQ(object_getClass(settings.get()), objc_getClass("_UIBackdropViewSettings"));
    auto tint = UIColor::colorWithRGBA(0.2, 0.4, 0.6, 1);
    msg(settings, "setColorTint:"_sel, tint);
    msg(settings, "setColorTintAlpha:"_sel, 0.75);
    msg(backdrop, "setBlurRadiusSetOnce:"_sel, true);
    msg(backdrop, "setBlurRadius:"_sel, 4.0);
    msg(backdrop, "setBlurQuality:"_sel, ns("default"));

    EXPECT_EQ(msg<int64_t>(backdrop, "style"_sel), 3900);
    EXPECT_EQ(backdrop->inputSettings(), settings.get()) << "the same settings object every time";
    EXPECT_EQ(settings->colorTint(), tint.get());
    EXPECT_DOUBLE_EQ(settings->colorTintAlpha(), 0.75);
    EXPECT_TRUE(backdrop->blurRadiusSetOnce());
    EXPECT_DOUBLE_EQ(backdrop->blurRadius(), 4.0);
    EXPECT_EQ(backdrop->blurQuality()->str(), "default");

    msg(backdrop, "setFrame:"_sel, CGRectMake(0, 0, 50, 50));
    EXPECT_TRUE(backdrop->has_own_frame());
    auto framed = UIView::create<UIBackdropView>(CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(framed->has_own_frame()) << "initWithFrame: gives a frame of its own";
}
