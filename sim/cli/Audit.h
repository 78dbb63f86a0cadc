// `zimtone audit`: for each app (or icon file), the colour its banner gets under the device's
// settings and whether the automatic text on it is readable. It only reads: the icons and the
// settings file, never changing either.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "colour/Colour.h"
#include "colour/Image.h"
#include "colour/adjustments.h"
#include "platform/foundation/Result.h"
#include "settings/SettingsState.h"

namespace zimtone::cli {

using zimtone::colour::Colour;

struct AuditSubject {
    std::string app;                            // bundle identifier, or the icon's file name
    std::string name;                           // display name
    std::optional<zimtone::colour::Image> icon; // the small icon at 29 points; none when it has none
};

struct AuditRow {
    std::string app;
    std::string name;
    bool has_icon{false};
    Colour dominant;
    bool per_app_colour{false}; // the tint came from the per-app dictionary
    std::optional<Colour> tint; // none: the per-app entry does not decode, so no colour
    double tint_alpha{1};       // the opacity the tint is painted at
    zimtone::colour::TextColour text{zimtone::colour::TextColour::White};
    std::optional<double> contrast;       // of the automatic text on the tint
    std::optional<double> other_contrast; // of the other choice (black for white, white for black)
    bool below_normal{false};             // below 4.5:1
    bool below_large{false};              // below 3:1
    double transparent_share{0};          // 1 - mean alpha of the icon's pixels
};

// The tint and readability of one app under the given settings. The contrast is that of the
// text on the tint's colour as if opaque: what shows through a translucent tint is unknown.
AuditRow audit_subject(const AuditSubject& subject, const zimtone::settings::SettingsState& settings);

// Every app of the current device with its small icon, in folder order.
std::vector<AuditSubject> device_subjects();
// Icon files given by a person; an unreadable file is an error naming it.
platform::foundation::Result<std::vector<AuditSubject>> icon_subjects(const std::vector<std::string>& files);
// The settings in force on the current device after the four loaders read its file.
zimtone::settings::SettingsState device_settings();

struct AuditOptions {
    bool json{false};
    std::optional<std::string> html_file;
    std::vector<std::string> icons;
    // Keeps each surface's frame with and without its texts in this folder, named in the JSON.
    std::optional<std::string> pictures;
    bool propose{true};
};

// The command's exit status: 0, or 1 with a message on stderr for an unreadable icon, an HTML
// file that cannot be written or a host that does not answer. The device's apps are also shown
// on every surface by the hosts and each text measured as drawn (AuditDrawn.h); icons given on
// the command line are not apps of the device, so only their banner tint is checked.
int run_audit(const AuditOptions& options);

} // namespace zimtone::cli
