// Painting of the thin caption's boxes, the modal tracking of a pressed box
// and the system-menu popup. All drawing is in window coordinates on a
// context for the whole window.
#pragma once
#include <windows.h>

#include "caption/caption_frame.h"
#include "caption/caption_raster_rules.h"

// dc may be null: the window's own context is then taken and released.
void DrawSysMenuBox(HDC dc, HWND window, BOOL pressed);
void DrawCaptionBox(HDC dc, HWND window, BOOL isMinimizeBox, BOOL pressed);
void DrawBoxGlyph(HDC dc, const RECT *area, GlyphKind kind);

// Holds the mouse until the left button comes up, showing the box pressed
// while the cursor is over it. hitCode is HTMINBUTTON or HTMAXBUTTON; boxRect
// is in screen coordinates. TRUE when the button was released inside.
BOOL TrackCaptionBox(HWND window, int hitCode, const RECT *boxRect);

// Shows the window's system menu below (or beside) the system-menu box.
// FALSE when the window has no WS_SYSMENU.
BOOL ShowCaptionSysMenu(HWND window);
