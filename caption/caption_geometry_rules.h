// Where the thin caption and its boxes lie, how a point is classified, and the
// small sizing rules around them. No <windows.h> here: every rule is plain
// arithmetic on rectangles, so it is tested on the host.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "winkit/dpi_rules.h"
#include "winkit/geometry.h"

// Private style bits that turn the thin caption on (the vertical one wins).
inline constexpr std::uint32_t CaptionStyleHorizontal = 0x4000;
inline constexpr std::uint32_t CaptionStyleVertical = 0x8000;

// The window-style bits the caption reads (same values as the WS_ macros).
inline constexpr std::uint32_t kStyleSysMenu = 0x80000;
inline constexpr std::uint32_t kStyleMinimizeBox = 0x20000;
inline constexpr std::uint32_t kStyleMaximizeBox = 0x10000;
inline constexpr std::uint32_t kStyleThickFrame = 0x40000;
inline constexpr std::uint32_t kStyleModalFrame = 0x80;  // DS_MODALFRAME of dialogs
inline constexpr std::uint32_t kStyleBorder = 0x800000;
inline constexpr std::uint32_t kStyleDlgFrame = 0x400000;

// Hit codes (the HT values of WM_NCHITTEST).
inline constexpr int kHitNowhere = 0;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitSysMenu = 3;
inline constexpr int kHitMinButton = 8;
inline constexpr int kHitMaxButton = 9;

// The title is drawn on every system: the old version-word test (low word
// above 0x309) would hide it on Windows 95, NT 4, XP and later, whose words
// read 0x0004, 0x0105, 0x0206..., and all of them can draw it. Being a
// constant, it also needs nothing from this program's start-up, so another
// program calling DrawCaption gets the title too.
inline constexpr bool CaptionTextEnabled = true;

// The frame metrics the caption is inset by.
struct FrameMetrics {
    int cxFrame = 4, cyFrame = 4;
    int cxDlgFrame = 3, cyDlgFrame = 3;
    int cxBorder = 1, cyBorder = 1;
};

bool CaptionOn(std::uint32_t style);
bool CaptionVertical(std::uint32_t style);

// "ibSize", the caption's thickness, from SM_CYCAPTION.
int IbSizeFromCaptionHeight(int cyCaption);
// The thickness on a screen of `dpi`, from SM_CYCAPTION at 96 DPI: scaled as every size of the bar.
int IbSizeForDpi(int cyCaptionAt96, int dpi);

// The caption and its boxes for a window rectangle; absent parts are empty.
struct CaptionLayout {
    bool on = false;
    bool vertical = false;
    Rect caption, sysMenu, minimize, maximize;
    bool hasSysMenu = false, hasMinimize = false, hasMaximize = false;
};
CaptionLayout LayoutCaption(Rect window, std::uint32_t style, const FrameMetrics &m, int ibSize);

// Box n counted from the far end of the caption (1 = the last box).
Rect CaptionBoxFromEnd(Rect caption, bool vertical, int ibSize, int n);

// WM_NCHITTEST after the default processing answered defaultHit. A result
// other than kHitSysMenu also clears "ibFlag".
int CaptionHitTest(const CaptionLayout &layout, Point screenPoint, int defaultHit, bool minimized);

// Minimum tracking size, only for a captioned window with a sizing frame.
struct TrackSize {
    int width = 0, height = 0;
};
std::optional<TrackSize> MinTrackSize(const CaptionLayout &layout, std::uint32_t style, const FrameMetrics &m,
                                      int ibSize);

// Painting sizes that depend on the thickness.
int BevelWidth(int ibSize);         // pressed edges and the glyph inset of a raised box
int RaisedShadowWidth(int ibSize);  // the dark edge of a raised box
// The title's font on a caption `ibSize` thick on a screen of `dpi` (LOGFONT's height and weight): 3 - ibSize
// high and bold from 20 at 96 DPI, with the 3 and the 20 scaled as every size, so that a caption scaled to the
// screen shows its title scaled, not a bolder and relatively taller one that a small column cannot hold.
struct TitleFont {
    int height = 0, weight = 0;
};
constexpr TitleFont TitleFontFor(int ibSize, int dpi)
{
    return {ScaleToDpi(3, dpi) - ibSize, ibSize >= ScaleToDpi(20, dpi) ? 700 : 0};
}

// The title's space: the caption without the boxes the flags ask for.
Rect TitleArea(Rect caption, bool vertical, bool sysMenu, bool minimize, bool maximize, int ibSize);
// The line between caption and client area, and the caption fill beside it.
Rect FrameLine(Rect caption, bool vertical);
Rect CaptionFill(Rect titleArea, bool vertical);
// Where ExtTextOut starts a title of extent cx (along the text) by cy.
Point TitleOrigin(Rect titleArea, bool vertical, int cx, int cy);

// The five state items of the system menu, in the order they are set.
inline constexpr unsigned kScSize = 0xF000, kScMove = 0xF010, kScMinimize = 0xF020, kScMaximize = 0xF030,
                          kScRestore = 0xF120;
struct SysMenuItemState {
    unsigned id = 0;
    bool enabled = false;
};
std::array<SysMenuItemState, 5> SysMenuItemStates(std::uint32_t style, bool maximized, bool minimized);
