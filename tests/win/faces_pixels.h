// Pixels for the face and strip tests: a 32-bit memory canvas that painters
// draw into, and the pictures the bar's resources and strip hold.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "bar/icon_strip.h"
#include "res/resource_ids.h"

namespace facetest {

constexpr COLORREF kUnpainted = RGB(255, 0, 255);  // no face uses magenta
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kDarkGrey = RGB(128, 128, 128);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A top-down 32-bit DIB section selected into its own memory DC.
class Surface {
public:
    Surface(int w, int h, COLORREF fill = kUnpainted) : w_(w), h_(h), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        dib_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t *>(bits);
        old_ = SelectObject(dc_, dib_);
        Fill(fill);
    }
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;
    ~Surface()
    {
        SelectObject(dc_, old_);
        DeleteObject(dib_);
        DeleteDC(dc_);
    }

    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    void Fill(COLORREF c)
    {
        GdiFlush();
        for (int i = 0; i < w_ * h_; ++i)
            bits_[i] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The w x h block at (x, y) as text rows, for readable failure messages.
    std::string Dump(int x, int y, int w, int h) const
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
    bool SameAs(const Surface &o, int x, int y, int w, int h, int ox, int oy) const
    {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (At(x + i, y + j) != o.At(ox + i, oy + j))
                    return false;
        return true;
    }
    bool SameAs(const Surface &o) const { return w_ == o.w_ && h_ == o.h_ && SameAs(o, 0, 0, w_, h_, 0, 0); }
    int Count(COLORREF c, int x, int y, int w, int h) const
    {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                n += At(i, j) == c;
        return n;
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP dib_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t *bits_ = nullptr;
};

// Copies of a whole bitmap, as LoadBitmapA or the strip holds it.
inline void CopyBitmap(HBITMAP bitmap, Surface &into, int sx, int sy)
{
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(into.dc(), 0, 0, into.width(), into.height(), source, sx, sy, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

inline SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

// A whole resource bitmap of the test program (which carries the bar's resources).
inline void LoadResourceBitmap(int id, Surface &into)
{
    HBITMAP b = LoadBitmapA(gApp.instance, MAKEINTRESOURCEA(id));
    CopyBitmap(b, into, 0, 0);
    DeleteObject(b);
}

// Cell n of the strip (76 x 38).
inline void CopyStripCell(int n, Surface &into)
{
    CopyBitmap(gIconStrip.bitmap.get(), into, 0, n * kStripCellSize);
}

// What a cell with this icon must look like: the blank faces with the icon
// at (3, 3) and, pressed, at (42, 4). `icon` nullptr: the blank cell.
inline void ExpectedCell(HICON icon, Surface &into)
{
    LoadResourceBitmap(IDB_BLANK_FACE, into);
    if (icon) {
        DrawIcon(into.dc(), 3, 3, icon);
        DrawIcon(into.dc(), 42, 4, icon);
    }
}

inline HICON ResourceIcon(int id)
{
    return LoadIconA(gApp.instance, MAKEINTRESOURCEA(id));
}

// A bar stand-in: the strip only needs a window for its DC.
inline HWND MakeWindow()
{
    return CreateWindowExA(0, "STATIC", "faces", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

inline DRAWITEMSTRUCT Item(int id, HDC dc, int w, int h, bool pressed, UINT action = ODA_DRAWENTIRE)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(id);
    dis.itemAction = action;
    dis.itemState = pressed ? ODS_SELECTED : 0;
    dis.hDC = dc;
    dis.rcItem = {0, 0, w, h};
    return dis;
}

} // namespace facetest
