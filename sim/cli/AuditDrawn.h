// The audit of every text as the hosts draw it: each app's bulletin shown on every surface the
// tweak colours, each text measured by the host against the pixels drawn behind it, a cause named
// for each failure, and a per-app colour proposed for each failing app.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "colour/Colour.h"
#include "colour/Image.h"
#include "platform/foundation/Result.h"
#include "settings/SettingsState.h"

namespace zimtone::cli {

struct DrawnApp {
    std::string app;  // bundle identifier
    std::string name; // display name
    std::optional<zimtone::colour::Image> icon;
};

// One text of one surface, as the host measured it ("texts" entry of `text-audit`), named.
struct DrawnElement {
    std::string app;
    std::string surface; // banner, notification-center, lock-screen, quick-reply, keyboard
    std::string element; // title, message, date, button, key, suggestion, ...
    nlohmann::json measure;
    std::string cause;        // for a failing text; empty otherwise
    std::string picture;      // the frame as drawn, when pictures were asked for
    std::string bare_picture; // the same frame without its texts
    bool fails() const { return measure.value("fails", false); }
};

// A per-app colour of the app's hue under which every text of the app passes, checked by drawing
// the surfaces again with it; none when no lightness of the hue does.
struct ColourProposal {
    std::string app;
    std::optional<zimtone::colour::Colour> colour;
    std::string hex; // RRGGBB
    std::string how; // the command or pane entry that applies it, or why none exists
};

struct DrawnAuditOptions {
    // An existing folder for the frames of each surface, with and without texts, which the
    // caller removes; empty for no pictures.
    std::filesystem::path pictures;
    // Only the frames where a text fails are kept (enough for the HTML page's crops).
    bool pictures_if_failing{false};
    bool propose{true};
    int workers{2};
};

struct DrawnAudit {
    std::vector<DrawnElement> elements;
    std::vector<ColourProposal> proposals; // one per failing app
    // Every host loaded the tweak; a device set up without it is drawn without its colours.
    bool tweak_loaded{true};
};

// Drives the hosts on the current device root with its settings. A failure saying why when a
// host cannot be started or does not answer.
platform::foundation::Result<DrawnAudit> audit_drawn_texts(const std::vector<DrawnApp>& apps,
                                                           const zimtone::settings::SettingsState& settings,
                                                           const DrawnAuditOptions& options);

// The surfaces in the order they are shown, and the app whose colour the quick reply and keyboard
// take (the Messages extension's).
const std::vector<std::string>& drawn_surfaces();
inline constexpr const char* kReplyApp = "com.apple.MobileSMS";
// The app of the texts every app's lock screen shares (clock, date, unlock text).
inline constexpr const char* kDeviceTexts = "(lock screen)";

} // namespace zimtone::cli
