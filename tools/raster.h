// Palette-indexed pictures as the resource generator draws them, before
// they are written as bitmap, icon or cursor files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The 16 colours of the standard VGA palette, in palette order.
enum Vga : std::uint8_t {
    Black,
    Maroon,
    DarkGreen,
    Olive,
    Navy,
    Purple,
    Teal,
    LightGrey,
    DarkGrey,
    Red,
    Green,
    Yellow,
    Blue,
    Fuchsia,
    Aqua,
    White,
};
// Icons and cursors only: shows what lies beneath.
constexpr std::uint8_t kTransparent = 0xFF;

struct Rgb {
    std::uint8_t r, g, b;
};
extern const Rgb kVgaPalette[16];

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // row-major, top row first

    Raster() = default;
    Raster(int w, int h, std::uint8_t fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Outside the raster nothing happens, so shapes may overhang.
    void Set(int x, int y, std::uint8_t c)
    {
        if (Contains(x, y))
            pixels[static_cast<std::size_t>(y) * width + x] = c;
    }
    void Fill(int x, int y, int w, int h, std::uint8_t c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Set(i, j, c);
    }
    bool operator==(const Raster &) const = default;
};

// A drawing surface with its origin moved: the painters of one cell write
// in the cell's own coordinates.
struct Canvas {
    Raster &raster;
    int x0 = 0;
    int y0 = 0;
    void Set(int x, int y, std::uint8_t c) const { raster.Set(x0 + x, y0 + y, c); }
    std::uint8_t At(int x, int y) const { return raster.At(x0 + x, y0 + y); }
    void Fill(int x, int y, int w, int h, std::uint8_t c) const { raster.Fill(x0 + x, y0 + y, w, h, c); }
    Canvas Moved(int dx, int dy) const { return {raster, x0 + dx, y0 + dy}; }
};
