#include "sim/device/IconPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/uikit/png_codec.h"

namespace zimtone::device {

namespace {

// A colour with premultiplied alpha, components 0..1, for compositing.
struct Premultiplied {
    double red{0}, green{0}, blue{0}, alpha{0};

    static Premultiplied of(Rgba c) {
        const double a = c.alpha / 255.0;
        return {c.red / 255.0 * a, c.green / 255.0 * a, c.blue / 255.0 * a, a};
    }
    void paint_over(const Premultiplied& src) {
        const double keep = 1 - src.alpha;
        red = src.red + red * keep;
        green = src.green + green * keep;
        blue = src.blue + blue * keep;
        alpha = src.alpha + alpha * keep;
    }
};

double sq(double v) {
    return v * v;
}

bool contains(const RoundedRect& r, double x, double y) {
    if (x < r.left || x > r.right || y < r.top || y > r.bottom)
        return false;
    const double radius = std::min({r.corner_radius, (r.right - r.left) / 2, (r.bottom - r.top) / 2});
    const double dx = std::max({r.left + radius - x, 0.0, x - (r.right - radius)});
    const double dy = std::max({r.top + radius - y, 0.0, y - (r.bottom - radius)});
    return sq(dx) + sq(dy) <= sq(radius);
}

bool contains(const Ellipse& e, double x, double y) {
    if (e.radius_x <= 0 || e.radius_y <= 0)
        return false;
    return sq((x - e.centre_x) / e.radius_x) + sq((y - e.centre_y) / e.radius_y) <= 1;
}

bool contains(const Stroke& s, double x, double y) {
    const double vx = s.x1 - s.x0, vy = s.y1 - s.y0;
    const double length_sq = sq(vx) + sq(vy);
    const double t =
        length_sq > 0 ? std::clamp(((x - s.x0) * vx + (y - s.y0) * vy) / length_sq, 0.0, 1.0) : 0.0;
    return sq(x - (s.x0 + t * vx)) + sq(y - (s.y0 + t * vy)) <= sq(s.width / 2);
}

bool contains(const Triangle& t, double x, double y) {
    auto side = [&](double ax, double ay, double bx, double by) {
        return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
    };
    const double d0 = side(t.x0, t.y0, t.x1, t.y1);
    const double d1 = side(t.x1, t.y1, t.x2, t.y2);
    const double d2 = side(t.x2, t.y2, t.x0, t.y0);
    const bool has_negative = d0 < 0 || d1 < 0 || d2 < 0;
    const bool has_positive = d0 > 0 || d1 > 0 || d2 > 0;
    return !(has_negative && has_positive);
}

Rgba mix(Rgba a, Rgba b, double t) {
    auto channel = [t](uint8_t from, uint8_t to) {
        return static_cast<uint8_t>(std::lround(from + (to - from) * std::clamp(t, 0.0, 1.0)));
    };
    return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue),
            channel(a.alpha, b.alpha)};
}

Premultiplied sample(const IconDesign& design, double x, double y) {
    Premultiplied colour;
    const double inner = 1 - 2 * design.margin;
    const RoundedRect plate{design.margin, design.margin, 1 - design.margin, 1 - design.margin,
                            design.corner_radius};
    if (inner > 0 && contains(plate, x, y))
        colour.paint_over(Premultiplied::of(
            mix(design.background_top, design.background_bottom, (y - design.margin) / inner)));
    for (const Shape& shape : design.shapes) {
        if (std::visit([x, y](const auto& g) { return contains(g, x, y); }, shape.geometry))
            colour.paint_over(Premultiplied::of(shape.colour));
    }
    return colour;
}

uint8_t to_byte(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& why) {
    throw std::runtime_error("cannot write icon " + file.string() + ": " + why);
}

std::vector<uint8_t> grey_levels(const std::vector<uint8_t>& rgba, std::optional<uint8_t>& transparent_level,
                                 const std::filesystem::path& file) {
    const size_t count = rgba.size() / 4;
    std::vector<uint8_t> grey(count);
    std::vector<bool> clear(count);
    std::array<bool, 256> used{};
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &rgba[i * 4];
        clear[i] = p[3] < 128;
        grey[i] = static_cast<uint8_t>(std::lround(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]));
        if (!clear[i])
            used[grey[i]] = true;
    }
    if (std::find(clear.begin(), clear.end(), true) == clear.end())
        return grey;
    // The transparent level must be one that no visible pixel uses.
    auto free_level = std::find(used.begin(), used.end(), false);
    if (free_level == used.end())
        fail(file, "no grey level is left for transparency");
    transparent_level = static_cast<uint8_t>(free_level - used.begin());
    for (size_t i = 0; i < count; ++i)
        if (clear[i])
            grey[i] = *transparent_level;
    return grey;
}

std::vector<uint8_t> palette_indices(const std::vector<uint8_t>& rgba,
                                     std::vector<platform::uikit::PaletteEntry>& palette,
                                     const std::filesystem::path& file) {
    std::map<uint32_t, uint8_t> index_of;
    std::vector<uint8_t> indices(rgba.size() / 4);
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        platform::uikit::PaletteEntry entry{p[0], p[1], p[2], p[3]};
        if (entry.alpha == 0)
            entry = {0, 0, 0, 0}; // one entry serves every clear pixel
        const uint32_t key =
            uint32_t(entry.red) << 24 | uint32_t(entry.green) << 16 | uint32_t(entry.blue) << 8 | entry.alpha;
        auto [it, added] = index_of.emplace(key, static_cast<uint8_t>(palette.size()));
        if (added) {
            if (palette.size() == 256)
                fail(file, "the design needs more than 256 colours");
            palette.push_back(entry);
        }
        indices[i] = it->second;
    }
    return indices;
}

} // namespace

std::vector<uint8_t> paint_icon(const IconDesign& design, int pixel_size, Antialiasing antialiasing) {
    const int grid = antialiasing == Antialiasing::On ? 4 : 1;
    std::vector<uint8_t> rgba(static_cast<size_t>(std::max(pixel_size, 0)) * std::max(pixel_size, 0) * 4);
    for (int py = 0; py < pixel_size; ++py) {
        for (int px = 0; px < pixel_size; ++px) {
            Premultiplied sum;
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    const double x = (px + (sx + 0.5) / grid) / pixel_size;
                    const double y = (py + (sy + 0.5) / grid) / pixel_size;
                    Premultiplied s = sample(design, x, y);
                    sum.red += s.red, sum.green += s.green, sum.blue += s.blue, sum.alpha += s.alpha;
                }
            }
            const double n = grid * grid;
            const double alpha = sum.alpha / n;
            uint8_t* out = &rgba[(static_cast<size_t>(py) * pixel_size + px) * 4];
            if (alpha > 0) {
                out[0] = to_byte(sum.red / n / alpha);
                out[1] = to_byte(sum.green / n / alpha);
                out[2] = to_byte(sum.blue / n / alpha);
            }
            out[3] = to_byte(alpha);
        }
    }
    return rgba;
}

void write_icon_file(const std::filesystem::path& file, const IconDesign& design, int pixel_size,
                     StorageModel model) {
    if (pixel_size <= 0)
        fail(file, "the size must be positive");
    const auto antialiasing = model == StorageModel::RGB ? Antialiasing::On : Antialiasing::Off;
    const auto rgba = paint_icon(design, pixel_size, antialiasing);
    bool written = false;
    switch (model) {
    case StorageModel::RGB:
        written = platform::uikit::encodePngRGBA(file.string(), pixel_size, pixel_size, rgba.data());
        break;
    case StorageModel::Grey: {
        std::optional<uint8_t> transparent_level;
        const auto grey = grey_levels(rgba, transparent_level, file);
        written = platform::uikit::encodePngGrey(file.string(), pixel_size, pixel_size, grey.data(),
                                                 transparent_level);
        break;
    }
    case StorageModel::Indexed: {
        std::vector<platform::uikit::PaletteEntry> palette;
        const auto indices = palette_indices(rgba, palette, file);
        written =
            platform::uikit::encodePngPalette(file.string(), pixel_size, pixel_size, indices.data(), palette);
        break;
    }
    }
    if (!written)
        fail(file, "the PNG could not be written");
}

} // namespace zimtone::device
