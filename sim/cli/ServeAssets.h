// The files of the device page, built into the command so it runs from anywhere.
#pragma once

#include <string_view>

namespace zimtone::cli {

struct PageAsset {
    std::string_view path;         // the URL path it is served at
    std::string_view content_type; // all of them UTF-8 text
    std::string_view body;
};

// nullptr for any path that is not one of the page's files.
const PageAsset* find_page_asset(std::string_view path);

} // namespace zimtone::cli
