#pragma once
// A canvas pixel and a pixel rectangle: the values the view transform gives and the painters take.

struct TPixel {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPixel&, const TPixel&) = default;
};

// Left, top, right, bottom; right and bottom exclusive when used as a bounding box.
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};
