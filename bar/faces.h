// Every button face of the bar, painted on WM_DRAWITEM: slot faces from the
// icon strip (or the system panel's faces), and the five control buttons
// from their resource bitmaps. Each painter draws into dis.hDC at (0, 0), so
// it paints a memory DC as well as a button.
#pragma once
#include <windows.h>

#include "bar/bar_state.h"

// The WM_DRAWITEM handler: paints the face of dis->CtlID for a whole-face,
// selection or focus action; returns 0.
LRESULT DrawButtonFace(const BarView &v, const DRAWITEMSTRUCT *dis);

// Resource bitmap `bitmapId`, loaded at its first use and kept in
// `faces` until the bar's window is destroyed.
HBITMAP FaceBitmap(FaceResources &faces, int bitmapId);

// 1000 to 1019: the slot's face from the strip, with the move-mode hatch;
// while the system panel is shown, light grey or one of the panel faces.
void DrawSlotFace(const BarView &v, const DRAWITEMSTRUCT &dis);
// 501 (left arrow) and 502 (right arrow).
void DrawPageArrowFace(const BarView &v, const DRAWITEMSTRUCT &dis);
// 503: an up arrow while the bar is not pinned, a down arrow while it is.
void DrawPinFace(const BarView &v, const DRAWITEMSTRUCT &dis);
// 504: "Tav", whatever the panel's state.
void DrawPanelToggleFace(const BarView &v, const DRAWITEMSTRUCT &dis);
// 505: the plate with the current page number.
void DrawPageNumberFace(const BarView &v, const DRAWITEMSTRUCT &dis);

// The face of button `id` drawn into the button at once by `paint`, as
// WM_DRAWITEM would draw it raised, where a round of paint messages costs
// many times that. For faces that no one can hold down at that moment.
void DrawFaceNow(const BarView &v, HWND button, int id, void (*paint)(const BarView &, const DRAWITEMSTRUCT &));
