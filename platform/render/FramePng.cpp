// libpng reports errors by longjmp, so the encoding runs in a helper whose frame holds no object
// with a destructor; its caller owns every resource.
#include "platform/render/FramePng.h"

#include <cairo.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstddef>
#include <new>

namespace platform::render {

void unpremultiply_row(const uint32_t* argb, int width, uint8_t* rgba) {
    for (int x = 0; x < width; ++x, rgba += 4) {
        const uint32_t pixel = argb[x], a = pixel >> 24;
        if (a == 0xFF) { // most of a screen: nothing to divide
            rgba[0] = static_cast<uint8_t>(pixel >> 16);
            rgba[1] = static_cast<uint8_t>(pixel >> 8);
            rgba[2] = static_cast<uint8_t>(pixel);
            rgba[3] = 0xFF;
            continue;
        }
        auto straight = [a](uint32_t v) { return static_cast<uint8_t>(a ? (v * 255 + a / 2) / a : 0); };
        rgba[0] = straight((pixel >> 16) & 0xFF);
        rgba[1] = straight((pixel >> 8) & 0xFF);
        rgba[2] = straight(pixel & 0xFF);
        rgba[3] = static_cast<uint8_t>(a);
    }
}

namespace {

struct Output {
    std::vector<uint8_t> bytes;
    bool out_of_memory{false};
};

// Called from inside libpng, so nothing may leave it by exception.
void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Output*>(png_get_io_ptr(png));
    if (out->out_of_memory)
        return;
    try {
        out->bytes.insert(out->bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        out->out_of_memory = true;
    }
}

void flush(png_structp) {}

[[noreturn]] void on_error(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

struct WriteStructs {
    png_structp png{nullptr};
    png_infop info{nullptr};
    ~WriteStructs() { png_destroy_write_struct(&png, &info); }
};

struct Frame {
    const unsigned char* data{nullptr};
    int width{0};
    int height{0};
    int stride{0};
    uint8_t* row{nullptr}; // one straight RGBA row, owned by the caller
};

bool write_rows(png_structp png, png_infop info, Output* out, const Frame* frame) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, append, flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame->width), static_cast<png_uint_32>(frame->height),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < frame->height; ++y) {
        const auto* argb =
            reinterpret_cast<const uint32_t*>(frame->data + static_cast<ptrdiff_t>(y) * frame->stride);
        unpremultiply_row(argb, frame->width, frame->row);
        png_write_row(png, frame->row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

foundation::Result<std::vector<uint8_t>> encode_frame_png(cairo_surface_t* surface) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return foundation::Failure{"the picture is not an RGBA image"};
    cairo_surface_flush(surface);
    Frame frame{cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
                cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface), nullptr};
    if (!frame.data || frame.width <= 0 || frame.height <= 0)
        return foundation::Failure{"the picture is empty"};
    std::vector<uint8_t> row(static_cast<size_t>(frame.width) * 4);
    frame.row = row.data();
    Output out;
    WriteStructs structs;
    structs.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
    if (structs.png)
        structs.info = png_create_info_struct(structs.png);
    if (!structs.info || !write_rows(structs.png, structs.info, &out, &frame) || out.out_of_memory)
        return foundation::Failure{"the picture could not be encoded as PNG"};
    return std::move(out.bytes);
}

} // namespace platform::render
