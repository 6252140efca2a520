#pragma once
// Rectangles and sizes in pixels, as the window system counts them: right and bottom are
// one past the last pixel.
namespace sw {

struct UiSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const UiSize&) const = default;
};

struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const UiRect&) const = default;
};

}  // namespace sw
