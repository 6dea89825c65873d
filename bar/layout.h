// The bar's buttons: the slot grid, the five control buttons beside it, the
// window size that fits them, the corner snapping and the subclass protocol.
#pragma once
#include <windows.h>

#include <vector>

#include "app/app_state.h"
#include "bar/layout_rules.h"

inline HWND PageButton(int id) { return gBar.buttons.controls[id - IDC_PREV_PAGE]; }

void CreateSlotButtons(HWND bar);
// The window texts that name the slots of the page (title, or the program's file name; the
// panel's action) and the page number button; again whenever an entry, the page or the face changes.
void NameSlotButtons();
void NameSlotButton(HWND button, int position);
void CreateControlButtons(HWND bar);
// Puts back the procedures of the subclassed control buttons (before the bar goes).
void RestoreControlButtonProcs();
void PlaceControlButtons();
void DestroySlotButtons();
// `wholly`: the bar is moved wholly onto its monitor's work area, not only when it is off every screen.
void SizeBarAt(HWND bar, int x, int y, bool wholly = false);
void FitBar(HWND bar);
LRESULT Regrid(HWND bar, int sizeType, int width, int height);
LRESULT FillTrackLimits(HWND bar, MINMAXINFO *info);
// Repaints every slot of the grid (after a page change, a swap, a mode change).
void InvalidateSlots();

// Subclassing: the previous procedure is kept in the bar's memory and, for other programs to
// read, in "TAVHI" (value >> 16) and "TAVLO" (low 16 bits) while the button lives.
void SubclassButton(HWND button, WNDPROC proc);
void RestoreButtonProc(HWND button);
WNDPROC PreviousProc(HWND button);
