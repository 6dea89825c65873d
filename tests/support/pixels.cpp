#include "support/pixels.h"

#include <cstdio>

namespace tavtest {

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    dib_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t *>(bits);
    old_ = SelectObject(dc_, dib_);
    Fill(fill);
}

MemoryCanvas::~MemoryCanvas()
{
    SelectObject(dc_, old_);
    DeleteObject(dib_);
    DeleteDC(dc_);
}

void MemoryCanvas::Fill(COLORREF c)
{
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

COLORREF MemoryCanvas::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    GdiFlush();
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int MemoryCanvas::Count(COLORREF c, const RECT &r, bool equal) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += (At(x, y) == c) == equal;
    return n;
}

int MemoryCanvas::Differences(const MemoryCanvas &o, const RECT &r) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += At(x, y) != o.At(x, y);
    return n;
}

bool MemoryCanvas::SameAs(const MemoryCanvas &o, int x, int y, int w, int h, int ox, int oy) const
{
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (At(x + i, y + j) != o.At(ox + i, oy + j))
                return false;
    return true;
}

bool MemoryCanvas::SameAs(const MemoryCanvas &o) const
{
    return width_ == o.width_ && height_ == o.height_ && SameAs(o, 0, 0, width_, height_, 0, 0);
}

std::string MemoryCanvas::Dump(int x, int y, int w, int h) const
{
    std::string s;
    char buf[16];
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            std::snprintf(buf, sizeof buf, "%06lx ", static_cast<unsigned long>(At(i, j)));
            s += buf;
        }
        s += '\n';
    }
    return s;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

void DrawBitmap(HBITMAP bitmap, MemoryCanvas &into, int sx, int sy, int w, int h, int dw, int dh)
{
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    if (w == 0)
        BitBlt(into.dc(), 0, 0, into.width(), into.height(), source, sx, sy, SRCCOPY);
    else
        StretchBlt(into.dc(), 0, 0, dw, dh, source, sx, sy, w, h, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void CaptureScreen(const RECT &r, MemoryCanvas &into)
{
    HDC screen = GetDC(nullptr);
    BitBlt(into.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

} // namespace tavtest
