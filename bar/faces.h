// Every button face of the bar, painted on WM_DRAWITEM: slot faces from the
// icon strip (or the system panel's faces), and the five control buttons
// from their resource bitmaps. Each painter draws from one FaceInput into its
// DC at (0, 0) and reads nothing else, so it paints a memory DC as well as a
// button.
#pragma once
#include <windows.h>

#include <optional>

#include "bar/bar_state.h"

// All that one face is drawn from. A face leaves the fields it does not use
// as they are.
struct FaceInput {
    FaceResources &resources;   // the control bitmaps, the blank face, the page number's font
    HDC dc = nullptr;
    RECT area{};                // the button's client area
    int id = 0;                 // 1000 + position, or 501 to 505
    bool pressed = false;
    int cellSize = kLargeCell;  // a slot's side on the screen; the control buttons are half as wide
    int dpi = kBaseDpi;         // the screen's, for what is drawn beside the cell's own art
    // Slots:
    const IconStrip *strip = nullptr;
    int cell = 0;               // the slot's cell in the strip
    bool hatched = false;       // move mode
    std::optional<int> panelAction{};  // the system panel shows: this action's face, grey if it is none
    // Control buttons:
    bool topmost = false;
    int page = 1;
    bool smallButtons = false;
};

// The WM_DRAWITEM handler: paints the face of dis->CtlID for a whole-face,
// selection or focus action; returns 0.
LRESULT DrawButtonFace(const BarView &v, const DRAWITEMSTRUCT *dis);

// The face of in.id by the painter below for it; nothing for any other id.
void DrawFace(const FaceInput &in);
// 1000 to 1019: the slot's face from the strip, with the move-mode hatch;
// while the system panel is shown, light grey or one of the panel faces.
void DrawSlotFace(const FaceInput &in);
// 501 (left arrow) and 502 (right arrow).
void DrawPageArrowFace(const FaceInput &in);
// 503: an up arrow while the bar is not pinned, a down arrow while it is.
void DrawPinFace(const FaceInput &in);
// 504: "Tav", whatever the panel's state.
void DrawPanelToggleFace(const FaceInput &in);
// 505: the plate with the current page number.
void DrawPageNumberFace(const FaceInput &in);

// A page turn's faces, drawn into their buttons at once as WM_DRAWITEM would draw them
// raised, where a round of paint messages costs many times that; nobody holds a button down
// at that moment. Every slot face from the DC holding the strip; the page number's face is
// painted once for each page and then copied from the DC that holds it.
void DrawSlotFacesNow(const BarView &v);
void DrawPageNumberNow(const BarView &v);
