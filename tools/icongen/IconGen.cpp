// setwright_icongen OUTPUT.ico: draws the icon of the installer and uninstaller runtimes,
// an open cardboard box with a blue arrow going down into it, at 16, 32 and 48 pixels with
// alpha, and writes them as one .ico file (written beside OUTPUT and renamed over it, so a
// failed run leaves no partial icon for the runtime build to embed).
//
// Every frame is a PNG (PngWriter.h), which the runtimes' supported systems (Vista and
// later) read at any size: the three frames take under 2 KB where the uncompressed
// 32-bit bitmaps with their AND masks took about 15 KB of every runtime image, which the
// installer's size budget cannot spare. A system before Vista would show no icon; the
// runtimes do not run there.
//
// Each shape is a polygon in a unit square with a fill and a one-pixel outline; every
// pixel is the average of 8 x 8 samples, which smooths the edges at each size.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "PngWriter.h"

namespace {

struct Point {
    double x, y;
};

struct Colour {
    double r, g, b, a;  // 0..1, not premultiplied
};

constexpr Colour Rgb(unsigned rgb)
{
    return {(rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1.0};
}

Colour Mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

struct Shape {
    std::vector<Point> outline;
    Colour top, bottom;  // the fill, a vertical gradient between the shape's top and bottom
    Colour edge;
};

// From back to front: the inside of the open box, the arrow, the front face (which hides
// the arrow's tip, so that the arrow goes into the box) and its label. The corners lie on
// the 16-pixel grid, so that the smallest size stays sharp.
std::vector<Shape> Drawing()
{
    const Colour edge = Rgb(0x5E3A12);
    return {
        {{{0.1875, 0.375}, {0.8125, 0.375}, {0.9375, 0.5}, {0.0625, 0.5}}, Rgb(0x4A2C0C), Rgb(0x6E4418), edge},
        {{{0.375, 0.0}, {0.625, 0.0}, {0.625, 0.3125}, {0.8125, 0.3125}, {0.5, 0.6875}, {0.1875, 0.3125}, {0.375, 0.3125}},
         Rgb(0x6AA8F4),
         Rgb(0x1F5FC8),
         Rgb(0x123C80)},
        {{{0.0625, 0.5}, {0.9375, 0.5}, {0.9375, 0.9375}, {0.0625, 0.9375}}, Rgb(0xE2AC5E), Rgb(0xB47A2E), edge},
        {{{0.3125, 0.625}, {0.6875, 0.625}, {0.6875, 0.8125}, {0.3125, 0.8125}}, Rgb(0xFBF0D8), Rgb(0xEBD9B4),
         Rgb(0x9C7440)},
    };
}

double SegmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Even-odd rule; the distance to the outline for the inside.
bool Inside(const std::vector<Point>& outline, Point p, double& distance)
{
    bool inside = false;
    distance = 1e9;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Point a = outline[i], b = outline[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        distance = std::min(distance, SegmentDistance(p, a, b));
    }
    return inside;
}

// Source-over of a straight-alpha colour.
Colour Over(const Colour& top, const Colour& under)
{
    const double a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto channel = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {channel(top.r, under.r), channel(top.g, under.g), channel(top.b, under.b), a};
}

Colour Sample(const std::vector<Shape>& shapes, Point p, double edgeWidth)
{
    Colour colour{0, 0, 0, 0};
    for (const Shape& shape : shapes) {
        double distance = 0;
        if (!Inside(shape.outline, p, distance)) continue;
        double top = 1, bottom = 0;
        for (const Point& q : shape.outline) {
            top = std::min(top, q.y);
            bottom = std::max(bottom, q.y);
        }
        const Colour fill = Mix(shape.top, shape.bottom, bottom > top ? (p.y - top) / (bottom - top) : 0);
        colour = Over(distance < edgeWidth ? shape.edge : fill, colour);
    }
    return colour;
}

// The pixels of one size, top row first, RGBA.
std::vector<std::uint8_t> Render(const std::vector<Shape>& shapes, int size)
{
    constexpr int kSamples = 8;
    const double edgeWidth = (size >= 48 ? 1.5 : 1.0) / size;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Averaged with premultiplied channels, so that the edge samples blend cleanly.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    Point p{(x + (sx + 0.5) / kSamples) / size, (y + (sy + 0.5) / kSamples) / size};
                    Colour c = Sample(shapes, p, edgeWidth);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(std::min(1.0, std::max(0.0, v)) * 255)); };
            pixels.push_back(a > 0 ? byte(r / a) : 0);
            pixels.push_back(a > 0 ? byte(g / a) : 0);
            pixels.push_back(a > 0 ? byte(b / a) : 0);
            pixels.push_back(byte(a / (kSamples * kSamples)));
        }
    return pixels;
}

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The .ico file; empty when a frame cannot be encoded. Its directory gives every frame 32
// bits, the depth it decodes to, by which the system picks a frame for the display.
std::vector<std::uint8_t> IconFile()
{
    const int sizes[] = {16, 32, 48};
    const std::vector<Shape> shapes = Drawing();
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes) {
        const auto side = static_cast<unsigned>(size);
        images.push_back(sw::icongen::EncodePng(Render(shapes, size), side, side));
        if (images.back().empty()) return {};
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon
    Put16(out, static_cast<unsigned>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: setwright_icongen OUTPUT.ico\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    std::filesystem::path temporary = output;
    temporary += ".tmp";
    const std::vector<std::uint8_t> icon = IconFile();
    if (icon.empty()) {
        std::cerr << "setwright_icongen: zlib could not compress the icon\n";
        return 1;
    }
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(icon.data()), static_cast<std::streamsize>(icon.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            std::cerr << "setwright_icongen: cannot write " << temporary << '\n';
            return 1;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, output, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        std::cerr << "setwright_icongen: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
