// Draws the bundle's images into a folder: the heart of the share button, the header mask and
// the credit portraits. Shapes are coverage masks, so the header and the heart take any tint.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/uikit/png_codec.h"

namespace {

using Shape = std::function<bool(double x, double y)>; // unit coordinates, y down

struct Rgb {
    uint8_t r, g, b;
};

// 4x4 supersampling per pixel for smooth edges.
bool draw(const std::string& path, int width, int height, const Shape& inside, Rgb ink,
          const std::function<Rgb(double, double)>& paint = nullptr) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside((px + (sx + 0.5) / 4) / width, (py + (sy + 0.5) / 4) / height);
            Rgb c = paint ? paint(static_cast<double>(px) / width, static_cast<double>(py) / height) : ink;
            uint8_t* p = &rgba[(static_cast<size_t>(py) * width + px) * 4];
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = static_cast<uint8_t>(hits * 255 / 16);
        }
    return platform::uikit::encodePngRGBA(path, width, height, rgba.data());
}

bool heart(double x, double y) {
    double u = (x - 0.5) * 2.6, v = (0.45 - y) * 2.6;
    double a = u * u + v * v - 1;
    return a * a * a - u * u * v * v * v <= 0;
}

// A bell with three sound waves: the header's mark.
bool header(double x, double y) {
    double u = x * 750 / 220, v = y; // square units over the height
    double cx = 375.0 / 220;
    double dx = u - cx, dy = v - 0.5;
    bool bell = (dy > -0.32 && dy < 0.18 && std::abs(dx) < 0.12 + (dy + 0.32) * 0.28) ||
                (dx * dx + (dy + 0.3) * (dy + 0.3) < 0.03 * 0.03 * 4) ||
                (dy > 0.2 && dy < 0.3 && dx * dx + (dy - 0.2) * (dy - 0.2) < 0.07 * 0.07);
    bool base = dy >= 0.16 && dy <= 0.21 && std::abs(dx) < 0.3;
    double r = std::sqrt(dx * dx + dy * dy);
    bool waves = false;
    for (double ring : {0.42, 0.56, 0.7})
        waves |= std::abs(r - ring) < 0.03 && std::abs(dy) < std::abs(dx) * 0.8 && dy < 0.1;
    return bell || base || waves;
}

bool portrait(double x, double y) {
    double hx = x - 0.5, hy = y - 0.38;
    bool head = hx * hx + hy * hy < 0.18 * 0.18;
    double bx = x - 0.5, by = y - 1.0;
    bool body = bx * bx / (0.36 * 0.36) + by * by / (0.4 * 0.4) < 1;
    return head || body;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_bundle_images FOLDER\n");
        return 2;
    }
    std::string dir = argv[1];
    auto everywhere = [](double, double) { return true; };
    bool ok = draw(dir + "/heart.png", 40, 40, heart, {0, 0, 0}) &&
              draw(dir + "/header.png", 750, 220, header, {0, 0, 0});
    struct Person {
        const char* file;
        Rgb back, front;
    } people[] = {{"portrait-mossglint.png", {46, 125, 50}, {200, 230, 201}},
                  {"portrait-quillhaven.png", {69, 39, 160}, {209, 196, 233}}};
    for (const auto& p : people)
        ok = ok && draw(dir + "/" + p.file, 140, 140, everywhere, p.back,
                        [&](double x, double y) { return portrait(x, y) ? p.front : p.back; });
    if (!ok)
        std::fprintf(stderr, "draw_bundle_images: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
