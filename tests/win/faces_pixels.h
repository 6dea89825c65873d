// The faces the bar must show, composed from its own resources, and TAV.INI
// entries that point at the test icon library (tav_testicons.dll, whose
// icons 0 to 3 are the pictures of the bar's icons 113 to 116).
#pragma once
#include "app/app_state.h"
#include "app/settings.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "res/resource_ids.h"
#include "support/win_test.h"

namespace facetest {

using namespace tavtest;

constexpr COLORREF kLightGrey = RGB(192, 192, 192);

// The w x h block at (sx, sy) of resource bitmap `id`, stretched to dw x dh.
inline void ResourceFace(int id, const MemoryCanvas &into, int sx, int sy, int w, int h, int dw, int dh)
{
    HBITMAP b = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    DrawBitmap(b, into, sx, sy, w, h, dw, dh);
    DeleteObject(b);
}

inline HICON ResourceIcon(int id)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

// A strip cell (76 x 38) with this icon on the blank faces at (3, 3) and,
// pressed, at (42, 4); nullptr: the blank cell.
inline void ExpectedCell(HICON icon, const MemoryCanvas &into)
{
    ResourceFace(IDB_BLANK_FACE, into, 0, 0, 76, 38, 76, 38);
    if (icon) {
        DrawIcon(into.dc(), 3, 3, icon);
        DrawIcon(into.dc(), 42, 4, icon);
    }
}

// The pixels of strip cell n that differ from the cell of this icon (nullptr: blank).
inline int StripCellWrong(int n, HICON icon)
{
    MemoryCanvas expected(76, 38), actual(76, 38);
    ExpectedCell(icon, expected);
    DrawBitmap(gIconStrip.bitmap.get(), actual, 0, 38 * n, 76, 38, 76, 38);
    return actual.Differences(expected, {0, 0, 76, 38}, 0, 0);
}

// What the screen shows in r.
inline void CaptureScreen(const RECT &r, const MemoryCanvas &into)
{
    HDC screen = GetDC(nullptr);
    BitBlt(into.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

inline std::string IconLibrary()
{
    return ProgramDir() + "\\tav_testicons.dll";
}

inline std::string Entry(const std::string &iconFile, int index)
{
    return iconFile + "," + std::to_string(index) + ",,C:\\NO\\SUCH\\PROGRAM.EXE";
}

} // namespace facetest
