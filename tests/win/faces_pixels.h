// The bar's faces as the Windows tests see them, and TAV.INI entries that
// point at the test icon library (tav_testicons.dll, whose icons 0 to 3 are
// the pictures of the bar's icons 113 to 116).
#pragma once
#include "app/app_state.h"
#include "app/settings.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "res/resource_ids.h"
#include "support/win_test.h"

namespace facetest {

using namespace tavtest;

// The w x h block at (sx, sy) of resource bitmap `id`, stretched to dw x dh.
inline void ResourceFace(int id, const MemoryCanvas &into, int sx, int sy, int w, int h, int dw, int dh)
{
    HBITMAP b = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    DrawBitmap(b, into, sx, sy, w, h, dw, dh);
    DeleteObject(b);
}

inline HICON ResourceIcon(int id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

// The legend of the faces in pictures.txt: the 16 VGA colours as hex digits
// (bit 0 red, 1 green, 2 blue, 8 and up bright; 7 and 8 the greys); r, g, b
// the dark red, green and blue that shrinking a face leaves.
inline COLORREF FaceColour(char c)
{
    const int i = c == 'r' ? 1 : c == 'g' ? 2 : c == 'b' ? 4 : c <= '9' ? c - '0' : c - 'A' + 10;
    const int on = c >= 'a' || i == 7 ? 192 : i > 8 ? 255 : 128;
    return i == 7 || i == 8 ? RGB(on, on, on) : RGB(i & 1 ? on : 0, i & 2 ? on : 0, i & 4 ? on : 0);
}

// Strip cell n against the pictures "face `name`" and "face `name` pressed".
inline std::string StripCellDiff(int n, const std::string &name)
{
    MemoryCanvas cell(76, 38);
    DrawBitmap(gIconStrip.bitmap.get(), cell, 0, 38 * n, 76, 38, 76, 38);
    const std::string face = "face " + name;
    return PictureDiff(cell, 0, 0, face, FaceColour) + PictureDiff(cell, 38, 0, face + " pressed", FaceColour);
}

// What the screen shows in r.
inline void CaptureScreen(const RECT &r, const MemoryCanvas &into)
{
    HDC screen = GetDC(nullptr);
    BitBlt(into.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

inline std::string IconLibrary() { return ProgramDir() + "\\tav_testicons.dll"; }

inline std::string Entry(const std::string &iconFile, int index)
{
    return iconFile + "," + std::to_string(index) + ",,C:\\NO\\SUCH\\PROGRAM.EXE";
}

} // namespace facetest
