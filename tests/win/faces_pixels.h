// Helpers for the face and strip tests: the pictures the bar's resources and
// strip hold, and TAV.INI entries that point at the test icon library.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "bar/icon_strip.h"
#include "res/resource_ids.h"
#include "support/pixels.h"
#include "support/win_test.h"

namespace facetest {

using tavtest::MemoryCanvas;
using tavtest::kUnpainted;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);

inline RECT Area(int w, int h)
{
    return {0, 0, w, h};
}

// The w x h face at (sx, sy) of the test program's resource bitmap `id` (which
// carries the bar's resources), stretched to dw x dh on magenta; w = 0: all of it.
inline void ResourceFace(int id, MemoryCanvas &into, int sx = 0, int sy = 0, int w = 0, int h = 0, int dw = 0, int dh = 0)
{
    into.Fill(kUnpainted);
    HBITMAP b = LoadBitmapA(gApp.instance, MAKEINTRESOURCEA(id));
    tavtest::DrawBitmap(b, into, sx, sy, w, h, dw ? dw : w, dh ? dh : h);
    DeleteObject(b);
}

// Cell n of the strip (76 x 38).
inline void CopyStripCell(int n, MemoryCanvas &into)
{
    tavtest::DrawBitmap(gIconStrip.bitmap.get(), into, 0, n * kStripCellSize);
}

// What a cell with this icon must look like: the blank faces with the icon
// at (3, 3) and, pressed, at (42, 4). `icon` nullptr: the blank cell.
inline void ExpectedCell(HICON icon, MemoryCanvas &into)
{
    ResourceFace(IDB_BLANK_FACE, into);
    if (icon) {
        DrawIcon(into.dc(), 3, 3, icon);
        DrawIcon(into.dc(), 42, 4, icon);
    }
}

// The page digits as the plate shows them at (at, at): a 16-pixel Arial, black on grey.
inline void DrawPageDigits(const std::string &text, int at, MemoryCanvas &into)
{
    HFONT font = CreateFontA(16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(into.dc(), font);
    SetBkColor(into.dc(), kLightGrey);
    SetTextColor(into.dc(), kBlack);
    TextOutA(into.dc(), at, at, text.c_str(), static_cast<int>(text.size()));
    SelectObject(into.dc(), old);
    DeleteObject(font);
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

// Its icons 0 to 3 are the pictures of the bar's icons 113 to 116.
inline std::string IconLibrary()
{
    return tavtest::ProgramDir() + "\\tav_testicons.dll";
}

inline std::string Entry(const std::string &iconFile, const std::string &index)
{
    return iconFile + "," + index + ",,C:\\NO\\SUCH\\PROGRAM.EXE";
}

inline std::string Entry(const std::string &iconFile, int index)
{
    return Entry(iconFile, std::to_string(index));
}

inline std::string TempFile(const char *name, const std::string &text)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(sizeof dir, dir);
    const std::string path = std::string(dir) + name;
    FILE *f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

} // namespace facetest
