// Image bitmaps converted once to the drawing library's pixel format and kept while in use.
#pragma once

#include <map>

#include <cairo.h>

#include "platform/uikit/UIImage.h"

namespace platform::render {

// Keyed by image object; each entry holds its image, so an address cannot be reused by another
// image while the entry lives. Entries not drawn during a frame are dropped when it ends, so a
// long-lived renderer keeps only what the screen shows.
class ImageCache {
  public:
    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    ~ImageCache();

    // Premultiplied pixels of the image; nullptr for an image without a consistent bitmap.
    cairo_surface_t* surface_for(const uikit::UIImage& image);
    // Drops the entries that were not asked for since the previous call.
    void end_frame();
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        runtime::Ref<uikit::UIImage> image;
        cairo_surface_t* surface{nullptr};
        bool used{false};
    };
    std::map<const uikit::UIImage*, Entry> entries_;
};

} // namespace platform::render
