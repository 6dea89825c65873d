// The bar's buttons: the slot grid, the five control buttons beside it, the
// window size that fits them, the corner snapping and the subclass protocol.
#pragma once
#include <windows.h>

#include "bar/bar_state.h"
#include "bar/layout_rules.h"

// The grid as the bar shows it now, at its monitor's scale.
inline GridGeometry GridOf(const BarView &v) { return GeometryFor(v.settings, v.state.dpi); }
inline HWND ControlButton(const BarButtons &buttons, int id) { return buttons.controls[id - IDC_PREV_PAGE]; }
// The position of slot button `button` in the grid, or -1 when it is none of the grid's.
int PositionOf(const BarButtons &buttons, HWND button);

// The slot buttons for the grid of the settings, each subclassed with `slotProc`.
void CreateSlotButtons(const BarView &v, WNDPROC slotProc);
// The window texts that name the slots of the page (title, or the program's file name; the
// panel's action) and the page number button; again whenever an entry, the page or the face changes.
void NameSlotButtons(const BarView &v);
// The five control buttons; the page arrows subclassed with `pageArrowProc`, 504 with `panelToggleProc`.
void CreateControlButtons(const BarView &v, WNDPROC pageArrowProc, WNDPROC panelToggleProc);
// Puts back the procedures of the subclassed control buttons (before the bar goes).
void RestoreControlButtonProcs(const BarButtons &buttons);
void PlaceControlButtons(const BarView &v);
void DestroySlotButtons(BarButtons &buttons);
// Moves and sizes the bar to fit its grid at `at`; `wholly`: the bar is moved wholly onto its
// monitor's work area, not only when it is off every screen; `frameChanged`: its style was
// changed, so its frame is worked out again even where it stays.
void SizeBarAt(const BarView &v, Point at, bool wholly = false, bool frameChanged = true);
void FitBar(const BarView &v);
// The size message: counts the grid the client holds, makes the slot buttons again (with
// `slotProc`) unless they were made for this very size and grid, places the rest.
LRESULT Regrid(const BarView &v, WNDPROC slotProc, int sizeType, int width, int height);
LRESULT FillTrackLimits(const BarView &v, MINMAXINFO *info);
// Repaints every slot of the grid (after a page change, a swap, a mode change).
void InvalidateSlots(const BarView &v);

// Subclassing: the previous procedure is kept in the bar's memory and, for other programs to
// read, in "TAVHI" (value >> 16) and "TAVLO" (low 16 bits) while the button lives.
void SubclassButton(HWND button, WNDPROC proc);
void RestoreButtonProc(HWND button);
WNDPROC PreviousProc(HWND button);
