#include "sim/cli/ServeAssets.h"

#include "DevicePageAssets.h" // generated from sim/web/device by the build

namespace zimtone::cli {

const PageAsset* find_page_asset(std::string_view path) {
    for (const auto& asset : kDevicePageAssets)
        if (asset.path == path)
            return &asset;
    return nullptr;
}

} // namespace zimtone::cli
