// Every piece of the bar's process-wide state, in one place. The bar is one
// window on one thread; each record below belongs to one part of the
// program, which creates and resets it where its comment says. Everything
// else is handed to functions as parameters.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "winkit/gdi_holders.h"
#include "ini/settings_rules.h"
#include "launch/activation_rules.h"

// The application shell (app/): filled at start-up and in WM_CREATE, kept
// until the end of the message loop.
struct AppState {
    HINSTANCE instance = nullptr;  // every resource is loaded from here
    HWND bar = nullptr;
    UINT changeNoticeId = 0;       // "TAV_MESSAGE", registered after the bar is created
    UINT taskbarCreatedId = 0;     // the shell's "TaskbarCreated": add the icon again
    NOTIFYICONDATAA notifyIcon{};  // the notification-area icon while it is shown
    HMODULE ctl3d = nullptr;       // CTL3D32.DLL when it could be loaded (x86 only)
    BOOL(WINAPI *ctl3dUnregister)(HINSTANCE) = nullptr;
    DWORD lastLaunchTick = 0xFFFFFFFF;  // nothing started yet; set again at WM_CREATE
    bool tearingDown = false;  // WM_DESTROY has begun: nothing rebuilds the bar any more
    // False while the settings the bar holds were never read from TAV.INI (another program
    // held it all through the start): SaveSettings then writes nothing over the user's.
    bool settingsLoaded = false;
};
extern AppState gApp;

// "environment section" as the bar holds it (app/settings.cpp): read in
// WM_CREATE and by every reload, changed by the Properties dialog and the
// page buttons, written back only by SaveSettings.
extern BarSettings gSettings;

// The bar's buttons (bar/layout.cpp). The slot buttons, one per grid
// position (entry k has control id 1000 + k), are made anew by every regrid
// and reload; the five control buttons, 501 to 505, once per bar window.
struct BarButtons {
    std::vector<HWND> slots;
    HWND controls[5] = {};
    // True while WM_CREATE (until CreateWindowExA has returned) or a reload
    // sizes the bar right after making the slot buttons: a regrid then that
    // finds the same grid keeps those buttons, which nothing has shown or
    // touched yet, instead of making them again.
    bool justMade = false;
};
extern BarButtons gButtons;

// The icon strip (bar/icon_strip.cpp): a raised and a pressed face for every
// slot of every page, built in WM_CREATE and by every reload, freed at
// teardown.
struct IconStrip {
    GdiObject<HBITMAP> bitmap;  // 76 x (cells * 38), or none
    int cells = 0;              // maximumPages * 20 when built
    std::vector<std::string> names;  // each cell's slot name (bar/name_rules.h), read with its icon
};
extern IconStrip gIconStrip;

// What the faces draw with (bar/faces.cpp, bar/icon_strip.cpp): the page
// number's font and the resource bitmaps, each made at its first use and
// kept, so that a page turn loads and makes nothing; freed at WM_DESTROY.
struct FaceResources {
    GdiObject<HFONT> pageNumber;
    std::map<int, GdiObject<HBITMAP>> bitmaps;  // by resource id
};
extern FaceResources gFaceResources;

// Move mode (bar/pages.cpp): Shift + right click picks a slot up, the next
// right click swaps. Off at WM_CREATE; a reload leaves it as it is.
struct MoveState {
    bool on = false;
    int sourceSlot = -1;
};
extern MoveState gMove;

// Whether the bar has been used from the keyboard: only then may a focus mark show, even where
// the system is set to show keyboard cues always.
struct KeyboardState {
    bool keysUsed = false;
};
extern KeyboardState gKeyboard;

// The system panel (syspanel/): the slots' other face, toggled by 504.
// Hidden at WM_CREATE and by every rebuild of the bar.
struct SystemPanelState {
    bool shown = false;
};
extern SystemPanelState gSystemPanel;

// The hover tooltip (tips/): reset at WM_CREATE; HideTooltip resets it too.
constexpr int kPendingTextSize = 128;
constexpr int kShownTextSize = 256;
struct TooltipState {
    HWND tooltipWindow = nullptr;  // while it exists
    bool timerRunning = false;     // the bar's tooltip timer
    int lastHoveredSlot = -1;      // the registered slot pendingText was prepared for
    char pendingText[kPendingTextSize] = {};  // its title, or its command
    char shownText[kShownTextSize] = {};      // the tooltip window's copy of what it shows
};
extern TooltipState gTooltip;

// The launcher (launch/): the Execute Application dialog's history, created
// at WM_CREATE (CreateRunHistory), kept by reloads, released at WM_DESTROY.
// The time of the last start from a slot is gApp.lastLaunchTick.
struct LauncherState {
    std::unique_ptr<RunHistory> runHistory;  // none outside the bar's life
};
extern LauncherState gLauncher;

// The Properties dialog (bar/properties_dialog.cpp): reset when it opens.
struct PropertiesDialogState {
    int animationFrame = 0;  // index into the icon cycle 110, 113, 116, 115, 114
};
extern PropertiesDialogState gPropertiesDialog;
