#include "prefs/ZimtoneHeaderTable.h"

#include "colour/bridge/HexColors.h"
#include "platform/foundation/NSArray.h"
#include "platform/uikit/UIImage.h"
#include "prefs/bundle_paths.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::CGRect;
using platform::foundation::NSArray;
using platform::uikit::UIColor;
using platform::uikit::UIView;

Class ZimtoneHeaderTable::runtime_class() {
    static Class cls = ClassBuilder<ZimtoneHeaderTable>("ZimtoneHeaderTable", PSTableCell::runtime_class())
                           .method<&ZimtoneHeaderTable::initWithStyleReuseIdentifierSpecifier>(
                               "initWithStyle:reuseIdentifier:specifier:")
                           .method<&ZimtoneHeaderTable::layoutSubviews>("layoutSubviews")
                           .ivar("maskLayer", &ZimtoneHeaderTable::mask_layer_)
                           .ivar("mainView", &ZimtoneHeaderTable::main_view_)
                           .ivar("colorWith", &ZimtoneHeaderTable::colour_view_)
                           .ivar("gradient", &ZimtoneHeaderTable::gradient_)
                           .get();
    return cls;
}

Ref<Object> ZimtoneHeaderTable::initWithStyleReuseIdentifierSpecifier(int64_t,
                                                                      platform::foundation::NSString* reuse,
                                                                      PSSpecifier* specifier) {
    if (!PSTableCell::initWithStyleReuseIdentifierSpecifier(platform::preferences::UITableViewCellStyleValue1,
                                                            reuse, specifier))
        return nullptr;
    setBackgroundColor(UIColor::clearColor().get());
    contentView()->setBackgroundColor(UIColor::clearColor().get());
    textLabel()->setText(nullptr);
    Ref<Object> height = specifier ? specifier->properties()->get("height") : nullptr;
    if (height && msg<bool>(height, "respondsToSelector:"_sel, "floatValue"_sel))
        height_ = static_cast<double>(msg<float>(height, "floatValue"_sel));

    main_view_ = UIView::create<UIView>(CGRect{{0, 0}, {bounds().size.width, height_}});
    colour_view_ = UIView::create<UIView>(main_view_->bounds());
    main_view_->addSubview(colour_view_);

    gradient_ = make_object<platform::uikit::CAGradientLayer>();
    gradient_->setFrame(colour_view_->bounds());
    std::vector<Ref<Object>> colours;
    // A string that is no hex colour adds no stop rather than a black one.
    if (auto* strings =
            specifier ? dynamic_cast<NSArray*>(specifier->properties()->get("headerColours").get()) : nullptr)
        for (const auto& s : strings->items())
            if (auto colour = zimtone::colour::bridge::colorWithHexString(s.get()))
                colours.push_back(colour->CGColor());
    gradient_->setColors(NSArray::create(std::move(colours)).get());
    colour_view_->layer()->insertSublayerAtIndex(gradient_, 0);

    mask_layer_ = make_object<platform::uikit::CALayer>();
    mask_layer_->setFrame(colour_view_->bounds());
    if (const std::string* image = specifier ? specifier->string_property("headerImage") : nullptr)
        mask_layer_->setContents(
            platform::uikit::UIImage::imageWithContentsOfFile(bundle_file(*image)).get());
    main_view_->layer()->setMask(mask_layer_);

    contentView()->addSubview(main_view_);
    setSeparatorInset({0, bounds().size.width, 0, 0});
    return Ref<Object>(this);
}

void ZimtoneHeaderTable::layoutSubviews() {
    PSTableCell::layoutSubviews();
    if (!main_view_)
        return;
    main_view_->setFrame(CGRect{{0, 0}, {bounds().size.width, height_}});
    colour_view_->setFrame(main_view_->bounds());
    gradient_->setFrame(colour_view_->bounds());
    mask_layer_->setFrame(colour_view_->bounds());
}

} // namespace zimtone::prefs
