#include "sim/cli/Audit.h"

#include <unistd.h>

#include <fstream>
#include <iostream>

#include "colour/dominant_colour.h"
#include "colour/hex_codec.h"
#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImage.h"
#include "settings/Keys.h"
#include "settings/Loaders.h"
#include "sim/cli/AuditContrast.h"
#include "sim/cli/AuditDrawn.h"
#include "sim/cli/AuditFormats.h"
#include "sim/cli/IconFile.h"
#include "tweak/AppTint.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using namespace zimtone::colour;

namespace {

double transparent_share(const Image& image) {
    if (!image.hasConsistentPixels())
        return 0;
    uint64_t alpha = 0;
    for (size_t i = 3; i < image.pixels.size(); i += 4)
        alpha += image.pixels[i];
    double pixels = static_cast<double>(image.pixels.size() / 4);
    return 1.0 - static_cast<double>(alpha) / (255.0 * pixels);
}

// The per-app entry as the banner reads it: absent, or present and maybe undecodable.
std::optional<std::optional<Colour>> per_app_entry(const zimtone::settings::SettingsState& s,
                                                   const std::string& app) {
    if (!s.per_app_colours)
        return std::nullopt;
    auto entry = s.per_app_colours->get(app);
    if (!entry)
        return std::nullopt;
    const std::string* hex = platform::foundation::string_of(entry.get());
    return hex ? colorWithHexString(*hex) : std::nullopt;
}

// The icon as the banner sees it: always drawn at 29 points, whatever its pixel size.
std::optional<Image> small_icon(const platform::uikit::UIImage* icon) {
    if (!icon)
        return std::nullopt;
    Image image = icon->image();
    image.width = platform::applist::kSmallIconPointSize;
    image.height = platform::applist::kSmallIconPointSize;
    return image;
}

} // namespace

AuditRow audit_subject(const AuditSubject& subject, const zimtone::settings::SettingsState& s) {
    AuditRow row;
    row.app = subject.app;
    row.name = subject.name;
    row.has_icon = subject.icon.has_value();
    row.dominant = getDominantColor(subject.icon ? &*subject.icon : nullptr);
    row.transparent_share = subject.icon ? transparent_share(*subject.icon) : 0;

    zimtone::tweak::AppTintInputs in;
    in.specific_app_color = s.SpecificAppColor;
    in.per_app_entry = per_app_entry(s, subject.app);
    in.dominant = row.dominant;
    in.allow_saturation = s.AllowSaturation;
    in.saturation = s.BannerSaturation;
    row.per_app_colour = in.specific_app_color && in.per_app_entry.has_value();
    row.tint = zimtone::tweak::app_tint(in);
    row.tint_alpha = s.BannerAlpha * (row.tint ? row.tint->alpha : 0);

    row.text = reverseColor(row.dominant);
    if (row.tint) {
        TextColour other = row.text == TextColour::White ? TextColour::Black : TextColour::White;
        row.contrast = contrast_ratio(colourOf(row.text), *row.tint);
        row.other_contrast = contrast_ratio(colourOf(other), *row.tint);
        row.below_normal = *row.contrast < kContrastNormalText;
        row.below_large = *row.contrast < kContrastLargeText;
    }
    return row;
}

std::vector<AuditSubject> device_subjects() {
    auto list = platform::applist::ALApplicationList::withAppsFolder();
    std::vector<AuditSubject> subjects;
    for (const auto& app : list->apps()) {
        auto id = platform::foundation::ns(app.bundle_identifier);
        auto icon = list->iconOfSizeForDisplayIdentifier(
            static_cast<uint64_t>(platform::applist::kSmallIconPointSize), id.get());
        subjects.push_back({app.bundle_identifier, app.display_name, small_icon(icon.get())});
    }
    return subjects;
}

platform::foundation::Result<std::vector<AuditSubject>> icon_subjects(const std::vector<std::string>& files) {
    std::vector<AuditSubject> subjects;
    for (const auto& file : files) {
        auto icon = read_icon_file(file);
        if (!icon)
            return platform::foundation::Failure{icon.error()};
        std::string name = fs::path(file).filename().string();
        subjects.push_back({name, name, small_icon(icon->get())});
    }
    return subjects;
}

zimtone::settings::SettingsState device_settings() {
    using namespace zimtone::settings;
    SettingsState s;
    for (Group g : {Group::Banner, Group::Lockscreen, Group::NotificationCenter, Group::Requests}) {
        auto dictionary = platform::foundation::NSDictionary::dictionaryWithContentsOfFile(kSettingsFile);
        apply_group(s, g, dictionary.get());
    }
    return s;
}

int run_audit(const AuditOptions& options) {
    std::vector<AuditSubject> subjects;
    if (options.icons.empty()) {
        subjects = device_subjects();
    } else {
        auto given = icon_subjects(options.icons);
        if (!given) {
            std::cerr << "zimtone audit: " << given.error() << "\n";
            return 1;
        }
        subjects = std::move(*given);
    }
    auto settings = device_settings();
    std::vector<AuditRow> rows;
    for (const auto& subject : subjects)
        rows.push_back(audit_subject(subject, settings));

    // A page that cannot be written is known before the hosts spend time drawing for it.
    std::ofstream html;
    if (options.html_file) {
        html.open(*options.html_file, std::ios::binary | std::ios::trunc);
        if (!html) {
            std::cerr << "zimtone audit: cannot write " << *options.html_file << "\n";
            return 1;
        }
    }
    std::optional<DrawnAudit> drawn;
    std::error_code ec;
    // The HTML page crops its pictures from the frames; without it, none are drawn unless asked for.
    fs::path pictures = options.pictures ? fs::absolute(*options.pictures)
                        : options.html_file
                            ? fs::temp_directory_path(ec) / ("zimtone-audit-" + std::to_string(getpid()))
                            : fs::path();
    if (options.icons.empty()) {
        if (!pictures.empty())
            fs::create_directories(pictures, ec);
        if (ec) {
            std::cerr << "zimtone audit: cannot make the folder " << pictures.string() << ": " << ec.message()
                      << "\n";
            return 1;
        }
        std::vector<DrawnApp> apps;
        for (const auto& subject : subjects)
            apps.push_back({subject.app, subject.name, subject.icon});
        auto audited = audit_drawn_texts(apps, settings, {pictures, !options.pictures, options.propose, 2});
        if (!audited) {
            if (!options.pictures && !pictures.empty())
                fs::remove_all(pictures, ec);
            std::cerr << "zimtone audit: " << audited.error() << "\n";
            return 1;
        }
        drawn = std::move(*audited);
    }
    // The pictures are only the caller's when asked for; the HTML takes its crops first.
    auto finish = [&](int status) {
        if (!options.pictures && !pictures.empty())
            fs::remove_all(pictures, ec);
        return status;
    };
    const DrawnAudit* texts = drawn ? &*drawn : nullptr;

    if (options.html_file) {
        html << audit_html(rows, texts);
        if (!html.flush()) {
            std::cerr << "zimtone audit: cannot write " << *options.html_file << "\n";
            return finish(1);
        }
    }
    if (options.json)
        std::cout << audit_json(rows, texts, options.pictures.has_value()).dump(2) << "\n";
    else
        std::cout << audit_table(rows, texts);
    return finish(0);
}

} // namespace zimtone::cli
