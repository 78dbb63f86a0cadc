// The colour and settings questions `zimtone` answers without a device: JSON in, JSON out.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/foundation/Result.h"

namespace zimtone::cli {

// {"dominant":[r,g,b,a],"text":"white"|"black","hex":"rrggbb"}; a failure saying why when the
// file cannot be read as a PNG icon.
platform::foundation::Result<nlohmann::json> colour_report(const std::string& png_path);
// [r,g,b,a], or null for a string the codec refuses.
nlohmann::json hex_decode(const std::string& text);
std::string hex_encode(double r, double g, double b);
nlohmann::json saturate(double r, double g, double b, double a, double saturation);
std::string reverse(double r, double g, double b);
// The settings state after the four loaders ran over the file (a host path), in start-up order.
nlohmann::json settings_after_loading(const std::optional<std::string>& host_file);

} // namespace zimtone::cli
