// libpng behind a small value interface. libpng reports errors by longjmp, so every call that can
// fail runs in a helper whose frame holds no object with a destructor; the caller owns the
// resources and releases them whichever way the helper returns.
#include "platform/uikit/png_codec.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace platform::uikit {

using zimtone::colour::ColourModel;
using zimtone::colour::Image;

namespace {

// Icons and pane images are small; the limit keeps a hostile header from asking for gigabytes.
constexpr png_uint_32 max_decoded_side = 4096;

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
// Failures are silent throughout the system; warnings about odd chunks are of no use to anyone.
void onWarning(png_structp, png_const_charp) {}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Opens a regular file for reading. O_NONBLOCK keeps a FIFO named as an image from blocking
// the caller until a writer comes; reads from a regular file ignore the flag.
File openRegularFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE* file = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!file)
        close(fd);
    return File(file);
}

uint32_t bigEndian32(const png_byte* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

struct ReadStructs {
    png_structp png{nullptr};
    png_infop info{nullptr};
    ~ReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct WriteStructs {
    png_structp png{nullptr};
    png_infop info{nullptr};
    ~WriteStructs() { png_destroy_write_struct(&png, &info); }
};

struct Header {
    png_uint_32 width{0};
    png_uint_32 height{0};
    int colour_type{0};
    bool has_transparency_chunk{false};
    size_t row_bytes{0};
};

bool readHeader(png_structp png, png_infop info, FILE* file, Header* header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, max_decoded_side, max_decoded_side);
    png_read_info(png, info);

    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->colour_type = png_get_color_type(png, info);
    header->has_transparency_chunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const int bit_depth = png_get_bit_depth(png, info);
    const int colour_type = header->colour_type;

    if (bit_depth == 16)
        png_set_strip_16(png);
    if (colour_type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (header->has_transparency_chunk)
        png_set_tRNS_to_alpha(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colour_type & PNG_COLOR_MASK_ALPHA) && !header->has_transparency_chunk)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header->row_bytes = png_get_rowbytes(png, info);
    return true;
}

bool readRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

struct WriteLayout {
    int width{0};
    int height{0};
    int colour_type{0};
    size_t bytes_per_pixel{0};
    const uint8_t* samples{nullptr};
    const png_color* palette{nullptr};
    int palette_size{0};
    const png_byte* palette_alpha{nullptr};
    int palette_alpha_count{0};
    const png_color_16* transparent_colour{nullptr};
};

bool writeImage(png_structp png, png_infop info, FILE* file, const WriteLayout* layout) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout->width), static_cast<png_uint_32>(layout->height),
                 8, layout->colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (layout->palette)
        png_set_PLTE(png, info, layout->palette, layout->palette_size);
    if (layout->palette_alpha_count > 0 || layout->transparent_colour)
        png_set_tRNS(png, info, layout->palette_alpha, layout->palette_alpha_count,
                     layout->transparent_colour);
    png_write_info(png, info);
    const size_t row_bytes = static_cast<size_t>(layout->width) * layout->bytes_per_pixel;
    for (int y = 0; y < layout->height; ++y)
        png_write_row(png, layout->samples + static_cast<size_t>(y) * row_bytes);
    png_write_end(png, nullptr);
    return true;
}

bool writePng(const std::string& path, const WriteLayout& layout) {
    if (layout.width <= 0 || layout.height <= 0 || !layout.samples)
        return false;

    bool written = false;
    {
        File file(std::fopen(path.c_str(), "wb"));
        if (!file)
            return false;
        WriteStructs structs;
        structs.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (structs.png)
            structs.info = png_create_info_struct(structs.png);
        if (structs.info)
            written = writeImage(structs.png, structs.info, file.get(), &layout);
        // A failed close can lose buffered data, so it counts as a failed write.
        if (std::fclose(file.release()) != 0)
            written = false;
    }
    // Only a regular file can be half written; a device or pipe given as the path stays.
    std::error_code error;
    if (!written && std::filesystem::is_regular_file(path, error))
        std::filesystem::remove(path, error);
    return written;
}

} // namespace

std::optional<Image> decodePng(const std::string& path, double scale) {
    if (!(scale > 0) || !std::isfinite(scale))
        return std::nullopt;

    File file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0)
        return std::nullopt;

    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!structs.png)
        return std::nullopt;
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        return std::nullopt;

    Header header;
    if (!readHeader(structs.png, structs.info, file.get(), &header))
        return std::nullopt;
    if (header.width == 0 || header.height == 0 || header.row_bytes != static_cast<size_t>(header.width) * 4)
        return std::nullopt;

    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    try {
        pixels.resize(header.row_bytes * header.height);
        rows.resize(header.height);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (png_uint_32 y = 0; y < header.height; ++y)
        rows[y] = pixels.data() + y * header.row_bytes;
    if (!readRows(structs.png, structs.info, rows.data()))
        return std::nullopt;

    ColourModel model = ColourModel::RGB;
    if (header.colour_type == PNG_COLOR_TYPE_PALETTE)
        model = ColourModel::Indexed;
    else if (!(header.colour_type & PNG_COLOR_MASK_COLOR))
        model = ColourModel::Grey;
    const bool has_alpha = (header.colour_type & PNG_COLOR_MASK_ALPHA) || header.has_transparency_chunk;
    return Image::fromPixels(static_cast<int>(header.width), static_cast<int>(header.height), scale,
                             std::move(pixels), model, has_alpha);
}

std::optional<PngSize> readPngSize(const std::string& path) {
    File file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    // The signature, then the IHDR chunk: length, type, width, height.
    png_byte start[24];
    if (std::fread(start, 1, sizeof start, file.get()) != sizeof start || png_sig_cmp(start, 0, 8) != 0 ||
        std::memcmp(start + 12, "IHDR", 4) != 0)
        return std::nullopt;
    return PngSize{bigEndian32(start + 16), bigEndian32(start + 20)};
}

bool encodePngRGBA(const std::string& path, int width, int height, const uint8_t* rgba_straight) {
    WriteLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
    layout.bytes_per_pixel = 4;
    layout.samples = rgba_straight;
    return writePng(path, layout);
}

bool encodePngGrey(const std::string& path, int width, int height, const uint8_t* grey,
                   std::optional<uint8_t> transparent_level) {
    png_color_16 transparent{};
    WriteLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colour_type = PNG_COLOR_TYPE_GRAY;
    layout.bytes_per_pixel = 1;
    layout.samples = grey;
    if (transparent_level) {
        transparent.gray = *transparent_level;
        layout.transparent_colour = &transparent;
    }
    return writePng(path, layout);
}

bool encodePngPalette(const std::string& path, int width, int height, const uint8_t* indices,
                      const std::vector<PaletteEntry>& palette) {
    if (palette.empty() || palette.size() > 256 || !indices || width <= 0 || height <= 0)
        return false;
    // libpng writes whatever indices it is given; a reader would reject the file later.
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i)
        if (indices[i] >= palette.size())
            return false;

    png_color colours[256];
    png_byte alphas[256];
    int alpha_count = 0;
    for (size_t i = 0; i < palette.size(); ++i) {
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
        alphas[i] = palette[i].alpha;
        if (palette[i].alpha != 255)
            alpha_count = static_cast<int>(i) + 1; // tRNS may stop at the last translucent entry
    }

    WriteLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colour_type = PNG_COLOR_TYPE_PALETTE;
    layout.bytes_per_pixel = 1;
    layout.samples = indices;
    layout.palette = colours;
    layout.palette_size = static_cast<int>(palette.size());
    layout.palette_alpha = alphas;
    layout.palette_alpha_count = alpha_count;
    return writePng(path, layout);
}

} // namespace platform::uikit
