#include "ui/BitmapResources.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include <wx/image.h>

namespace sw {

namespace {

constexpr int kPatternWidth = 320;
constexpr int kPatternHeight = 240;
constexpr int kPatternColours = 256;
constexpr int kEmblemSize = 64;
// Light grey: what the credits treat as transparent.
constexpr unsigned char kKeyGrey = 0xC0;

unsigned char Mix(int from, int to, int index, int steps)
{
    return static_cast<unsigned char>(from + (to - from) * index / (steps - 1));
}

// Soft waves whose periods divide the bitmap's size, so that the tiles meet without seams.
// Only pale colours, so that the black credits read well over them.
wxBitmap MakeCreditsPattern()
{
    wxImage image(kPatternWidth, kPatternHeight);
    const double tau = 2 * std::numbers::pi;
    for (int y = 0; y < kPatternHeight; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) {
            double u = static_cast<double>(x) / kPatternWidth;
            double v = static_cast<double>(y) / kPatternHeight;
            double wave = std::sin(tau * (2 * u + v)) + std::sin(tau * (u - 3 * v)) + 0.5 * std::sin(tau * 5 * u);
            int index = static_cast<int>((wave + 2.5) / 5.0 * (kPatternColours - 1));
            index = std::clamp(index, 0, kPatternColours - 1);
            image.SetRGB(x, y, Mix(0xFA, 0xD6, index, kPatternColours), Mix(0xFB, 0xE3, index, kPatternColours),
                         Mix(0xFD, 0xF3, index, kPatternColours));
        }
    }
    return wxBitmap(image);
}

struct Point {
    int x;
    int y;
};

// Inside the convex polygon a-b-c-d, its corners given clockwise on the screen.
bool Inside(const std::array<Point, 4>& corners, int x, int y)
{
    for (std::size_t i = 0; i < corners.size(); ++i) {
        Point a = corners[i];
        Point b = corners[(i + 1) % corners.size()];
        if ((b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) < 0) return false;
    }
    return true;
}

// A package seen from above, in three shades of the program's blue, on the key colour.
// Drawn pixel by pixel without smoothing: a blended edge would not match the key colour.
wxBitmap MakeCreditsEmblem()
{
    const Point top{32, 4}, upperRight{58, 17}, lowerRight{58, 47}, bottom{32, 60}, lowerLeft{6, 47},
        upperLeft{6, 17}, centre{32, 30};
    struct Face {
        std::array<Point, 4> corners;
        unsigned char red, green, blue;
    };
    const Face lid{{top, upperRight, centre, upperLeft}, 0x6C, 0xA6, 0xE8};
    const Face front{{upperLeft, centre, bottom, lowerLeft}, 0x1F, 0x5F, 0xB8};
    const Face side{{centre, upperRight, lowerRight, bottom}, 0x12, 0x3E, 0x80};
    // The tape runs across the lid from the middle of one edge to the middle of the other,
    // then down the side.
    auto onTape = [&](const Face& face, int x, int y) {
        if (&face == &lid) return std::abs(2 * y - x - 2) <= 4;
        return &face == &side && std::abs(x - 45) <= 2;
    };
    wxImage image(kEmblemSize, kEmblemSize);
    for (int y = 0; y < kEmblemSize; ++y) {
        for (int x = 0; x < kEmblemSize; ++x) {
            image.SetRGB(x, y, kKeyGrey, kKeyGrey, kKeyGrey);
            for (const Face* face : {&lid, &front, &side}) {
                if (!Inside(face->corners, x, y)) continue;
                if (!onTape(*face, x, y))
                    image.SetRGB(x, y, face->red, face->green, face->blue);
                else if (face == &lid)
                    image.SetRGB(x, y, 0xF2, 0xE6, 0xC8);
                else
                    image.SetRGB(x, y, 0xB8, 0xA5, 0x7E);
                break;
            }
        }
    }
    return wxBitmap(image);
}

}  // namespace

wxBitmap LoadBitmapResource(int id)
{
    switch (id) {
    case IDB_CREDITS_PATTERN: return MakeCreditsPattern();
    case IDB_CREDITS_EMBLEM: return MakeCreditsEmblem();
    default: return wxBitmap();
    }
}

wxBitmap LoadBitmapResource(const std::string& name)
{
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos || name.size() > 9) return wxBitmap();
    return LoadBitmapResource(std::atoi(name.c_str()));
}

}  // namespace sw
