// Pixels for the Windows tests: a 32-bit memory canvas that painters draw
// into, read back and compared pixel by pixel.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace tavtest {

// Prefilled into every canvas: no painter uses magenta, so pixels left alone show.
constexpr COLORREF kUnpainted = RGB(255, 0, 255);

// A top-down 32-bit DIB section selected into its own memory DC.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill = kUnpainted);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas &) = delete;
    MemoryCanvas &operator=(const MemoryCanvas &) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void Fill(COLORREF c);
    COLORREF At(int x, int y) const;  // CLR_INVALID outside
    // Pixels of r that are (or, with !equal, are not) colour c.
    int Count(COLORREF c, const RECT &r, bool equal = true) const;
    int Differences(const MemoryCanvas &o, const RECT &r) const;  // same place in both
    // The w x h block at (x, y) against o's block at (ox, oy).
    bool SameAs(const MemoryCanvas &o, int x, int y, int w, int h, int ox, int oy) const;
    bool SameAs(const MemoryCanvas &o) const;
    // The w x h block at (x, y) as hex rows, for readable failure messages.
    std::string Dump(int x, int y, int w, int h) const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP dib_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t *bits_ = nullptr;
};

SIZE BitmapSize(HBITMAP bitmap);
// The w x h block at (sx, sy) of a bitmap, stretched to dw x dh at the canvas's
// origin as the bar draws its faces; w = 0 copies the whole canvas size unscaled.
void DrawBitmap(HBITMAP bitmap, MemoryCanvas &into, int sx = 0, int sy = 0, int w = 0, int h = 0, int dw = 0, int dh = 0);
// What the screen shows in r.
void CaptureScreen(const RECT &r, MemoryCanvas &into);

} // namespace tavtest
