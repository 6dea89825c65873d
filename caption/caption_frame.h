// The small caption frame: a window procedure that any top-level window can
// hand the messages it does not finish itself. With CaptionStyleHorizontal or
// CaptionStyleVertical in its style the window gets a thin caption of its own
// (along the top or down the left edge) with a system-menu box and, as the
// style asks, minimize and maximize boxes.
//
// Window properties: "ibSize", the caption thickness in pixels, set at
// WM_NCCREATE; "ibFlag", 1 while a click on the system-menu box has shown the
// popup and the cursor has not left the box since.
#pragma once
#include <windows.h>

#include "caption/caption_geometry_rules.h"

LRESULT CALLBACK SmallCaptionFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Screen rectangles of the caption and its boxes. Each returns TRUE, or FALSE
// with an empty rectangle when the window has no such part.
BOOL GetCaptionRect(HWND window, RECT *rect);
BOOL GetSysMenuBoxRect(HWND window, RECT *rect);
BOOL GetMinimizeBoxRect(HWND window, RECT *rect);
BOOL GetMaximizeBoxRect(HWND window, RECT *rect);
BOOL GetCaptionBoxRect(HWND window, int n, RECT *rect);  // n = 1: the last box

// Greys or enables Move, Size, Minimize, Maximize and Restore for the window's state.
void EnableSysMenuItems(HWND window, HMENU menu);

// The window's "ibSize"; a window that never went through the frame's
// WM_NCCREATE (another program's, say) gets the thickness the frame would give it.
int CaptionIbSize(HWND window);
// Sets "ibSize" for a screen of `dpi`: the frame does so at WM_NCCREATE and WM_DPICHANGED; a
// window that lays itself out at its new scale before handing that message on calls it first.
void SetCaptionDpi(HWND window, int dpi);
// The frame's metrics and the caption's height at the window's scale.
FrameMetrics CurrentFrameMetrics(HWND window);
int CaptionHeight(HWND window);
CaptionLayout WindowCaptionLayout(HWND window);

// Paints the whole caption of `window` into dc, a context for the whole
// window; rect is the caption in window coordinates. Exported from the
// program as DrawCaption and _DrawCaption@32 (tav_export_drawcaption).
//
// user32 declares a four-argument DrawCaption of its own, so a second
// extern "C" declaration of the name cannot sit beside <windows.h>. This is
// an overload whose symbol is set to the plain C name, exactly what
// extern "C" WINAPI would produce: "DrawCaption" on x86_64,
// "_DrawCaption@32" (stdcall, eight 32-bit arguments) on i686.
#if defined(_WIN64)
#define TAV_DRAWCAPTION_SYMBOL "DrawCaption"
#else
#define TAV_DRAWCAPTION_SYMBOL "_DrawCaption@32"
#endif
BOOL WINAPI DrawCaption(HDC dc, HWND window, const RECT *rect, BOOL vertical, BOOL hasSysMenu, BOOL hasMinimizeBox,
                        BOOL hasMaximizeBox, BOOL active) __asm__(TAV_DRAWCAPTION_SYMBOL);

// The signature other programs use after GetProcAddress.
using DrawCaptionProc = BOOL(WINAPI *)(HDC, HWND, const RECT *, BOOL, BOOL, BOOL, BOOL, BOOL);
