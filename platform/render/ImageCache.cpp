#include "platform/render/ImageCache.h"

#include <cstddef>

namespace platform::render {

namespace {

cairo_surface_t* premultiplied_surface(const zimtone::colour::Image& image) {
    if (!image.hasConsistentPixels())
        return nullptr;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.pixel_width, image.pixel_height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* in = image.pixels.data();
    for (int y = 0; y < image.pixel_height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.pixel_width; ++x, in += 4) {
            const uint32_t a = in[3];
            auto pre = [a](uint32_t v) { return (v * a + 127) / 255; };
            row[x] = a << 24 | pre(in[0]) << 16 | pre(in[1]) << 8 | pre(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

} // namespace

ImageCache::~ImageCache() {
    for (auto& [key, entry] : entries_)
        if (entry.surface)
            cairo_surface_destroy(entry.surface);
}

cairo_surface_t* ImageCache::surface_for(const uikit::UIImage& image) {
    auto found = entries_.find(&image);
    if (found == entries_.end()) {
        Entry entry{runtime::Ref<uikit::UIImage>(const_cast<uikit::UIImage*>(&image)),
                    premultiplied_surface(image.image())};
        found = entries_.emplace(&image, std::move(entry)).first;
    }
    found->second.used = true;
    return found->second.surface;
}

void ImageCache::end_frame() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.used) {
            it->second.used = false;
            ++it;
            continue;
        }
        if (it->second.surface)
            cairo_surface_destroy(it->second.surface);
        it = entries_.erase(it);
    }
}

} // namespace platform::render
