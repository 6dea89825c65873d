// Hover tooltips: the bar's own "TAV!TIPS" window.
#pragma once
#include <windows.h>


// The hover tooltip's state: reset when the bar is created; HideTooltip resets it too.
constexpr int kPendingTextSize = 128;
constexpr int kShownTextSize = 256;
struct TooltipState {
    HWND tooltipWindow = nullptr;  // while it exists
    bool timerRunning = false;     // the bar's tooltip timer
    int lastHoveredSlot = -1;      // the registered slot pendingText was prepared for
    char pendingText[kPendingTextSize] = {};  // its title, or its command
    char shownText[kShownTextSize] = {};      // the tooltip window's copy of what it shows
};

// Where the mouse rests, as the main window knows it: what UpdateHover decides on.
struct Hover {
    bool tooltipsOff = false;  // the user wants none
    HWND button = nullptr;     // the grid's slot button under the mouse, or none
    bool panelShown = false;   // the system panel shows in the slots
    int slot = -1;             // the button's registered slot, while the programs show
    int panelAction = -1;      // while the panel shows: the cell's action (0 to 4), negative for a blank cell
};

inline constexpr char kTooltipClass[] = "TAV!TIPS";
constexpr UINT_PTR kTooltipTimerId = 1;  // on the bar
constexpr UINT kTooltipDelayMs = 1000;

// On every WM_SETCURSOR of the bar and after every WM_COMMAND: prepares the
// text of a registered slot under the mouse and starts the delay, or
// replaces the shown text at once; hides the tooltip anywhere else.
void UpdateHover(HWND bar, TooltipState &tip, const Hover &at);
// The bar's timer: shows the tooltip, or hides it once the mouse has left
// the bar's buttons.
void ShowTooltipOnTimer(HWND bar, TooltipState &tip, bool tooltipsOff);
// Destroys the tooltip, stops the timer and forgets the hovered slot.
void HideTooltip(HWND bar, TooltipState &tip);
// Closes the tooltip and its timer as HideTooltip does, but keeps the last
// hovered slot, so the slot just clicked does not show its tooltip again.
void CloseTooltip(HWND bar, TooltipState &tip);
// The class's procedure: each tooltip window finds its TooltipState in its
// window data, handed over at its creation.
LRESULT CALLBACK TooltipWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
