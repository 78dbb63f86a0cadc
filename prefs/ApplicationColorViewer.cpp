#include "prefs/ApplicationColorViewer.h"

#include "colour/bridge/ColourServices.h"
#include "colour/bridge/HexColors.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/SettingsFile.h"
#include "prefs/app_colours.h"
#include "prefs/preview_colour.h"
#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::CGRect;
using zimtone::colour::Colour;

Class ApplicationColorViewer::runtime_class() {
    static Class cls =
        ClassBuilder<ApplicationColorViewer>("ApplicationColorViewer", PSTableCell::runtime_class())
            .method<&ApplicationColorViewer::initWithStyleReuseIdentifierSpecifier>(
                "initWithStyle:reuseIdentifier:specifier:")
            .method<&ApplicationColorViewer::dominantColorFor>("dominantColorFor:")
            .method<&ApplicationColorViewer::modifySaturationWithAndFactor>("modifySaturationWith:andFactor:")
            .method<&ApplicationColorViewer::imageWithColor>("imageWithColor:")
            .method<&ApplicationColorViewer::changeColorTo>("changeColorTo:")
            .method<&ApplicationColorViewer::changeBlurColor>("changeBlurColor")
            .method<&ApplicationColorViewer::stopUnicorn>("stopUnicorn")
            .method<&ApplicationColorViewer::applicationIconView>("applicationIconView")
            .method<&ApplicationColorViewer::setApplicationIconView>("setApplicationIconView:")
            .method<&ApplicationColorViewer::applicationIcon>("applicationIcon")
            .method<&ApplicationColorViewer::setApplicationIcon>("setApplicationIcon:")
            .ivar("timer", &ApplicationColorViewer::timer_)
            .get();
    return cls;
}

Ref<Object>
ApplicationColorViewer::initWithStyleReuseIdentifierSpecifier(int64_t, platform::foundation::NSString* reuse,
                                                              PSSpecifier* specifier) {
    if (!PSTableCell::initWithStyleReuseIdentifierSpecifier(platform::preferences::UITableViewCellStyleValue1,
                                                            reuse, specifier))
        return nullptr;
    auto file = platform::foundation::read_dictionary_or_empty(zimtone::settings::kSettingsFile);
    PreviewSettings settings = PreviewSettings::from_file(*file);
    BannerColorSaturation = settings.saturation;
    BannerColorAlpha = settings.alpha;
    AllowSaturation = settings.allow_saturation;
    BannersUnicornEnabled = settings.unicorn;
    Ref<Object> stored_colours = file->get(zimtone::settings::kPerAppColoursKey);

    icon_ = specifier ? dynamic_cast<UIImage*>(specifier->properties()->get("iconImage").get()) : nullptr;
    // Without the platform's table the content view is already its final width, so the disc
    // goes to the row's right end rather than just past it.
    double x = contentView()->bounds().size.width - kDiscSize - kRowMargin;
    icon_view_ = platform::uikit::UIView::create<UIImageView>(CGRect{{x, 10}, {kDiscSize, kDiscSize}});
    icon_view_->setCenter({icon_view_->center().x, center().y});
    icon_view_->layer()->setCornerRadius(14.75);
    icon_view_->setClipsToBounds(true);

    Ref<UIColor> start = dominantColorFor(icon_.get());
    if (AllowSaturation)
        start = modifySaturationWithAndFactor(start.get(), BannerColorSaturation);
    start = start->colorWithAlphaComponent(BannerColorAlpha);
    show(start->colour());

    if (BannersUnicornEnabled)
        timer_ = platform::foundation::NSTimer::schedule(0.5, this, "changeBlurColor"_sel,
                                                         platform::foundation::Repeats::Yes);
    const std::string* bundle_id = specifier ? specifier->string_property("bundleID") : nullptr;
    if (bundle_id)
        if (auto hex = first_app_colour(stored_colours.get(), *bundle_id)) {
            stopUnicorn();
            changeColorTo(
                zimtone::colour::bridge::colorWithHexString(platform::foundation::ns(*hex).get()).get());
        }
    icon_view_->setUserInteractionEnabled(false);
    contentView()->addSubview(icon_view_);
    return Ref<Object>(this);
}

Ref<UIColor> ApplicationColorViewer::dominantColorFor(UIImage* image) {
    return zimtone::colour::bridge::getDominantColor(image);
}

Ref<UIColor> ApplicationColorViewer::modifySaturationWithAndFactor(UIColor* colour, double factor) {
    return zimtone::colour::bridge::modifySaturationWith(colour, factor);
}

Ref<UIImage> ApplicationColorViewer::imageWithColor(UIColor* colour) {
    Colour c = colour ? colour->colour() : Colour{0, 0, 0, 0};
    auto byte = [](double v) { return static_cast<uint8_t>(v <= 0 ? 0 : v >= 1 ? 255 : v * 255 + 0.5); };
    std::vector<uint8_t> pixel = {byte(c.red), byte(c.green), byte(c.blue), byte(c.alpha)};
    return UIImage::withImage(zimtone::colour::Image::fromPixels(1, 1, 1, std::move(pixel)));
}

void ApplicationColorViewer::changeColorTo(UIColor* colour) {
    if (!colour)
        return; // an undecodable stored value leaves the disc as it is
    PreviewSettings settings{BannerColorSaturation, BannerColorAlpha, AllowSaturation, BannersUnicornEnabled};
    show(adjusted_preview(colour->colour(), settings));
}

void ApplicationColorViewer::changeBlurColor() {
    uint32_t red = platform::foundation::arc4random();
    uint32_t green = platform::foundation::arc4random();
    uint32_t blue = platform::foundation::arc4random();
    PreviewSettings settings{BannerColorSaturation, BannerColorAlpha, AllowSaturation, BannersUnicornEnabled};
    show(random_preview(red, green, blue, settings));
}

void ApplicationColorViewer::stopUnicorn() {
    if (!timer_)
        return;
    timer_->invalidate();
    timer_ = nullptr;
}

void ApplicationColorViewer::show(const Colour& colour) {
    disc_colour_ = colour;
    icon_view_->setImage(imageWithColor(UIColor::with(colour).get()));
}

} // namespace zimtone::prefs
