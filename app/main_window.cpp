#include "app/main_window.h"

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "ini/change_notice.h"
#include "ini/settings.h"
#include "texts/message_box.h"
#include "res/resource.h"
#include "winkit/cursor.h"
#include "winkit/dpi.h"
#include "winkit/module.h"
#include "winkit/system_library.h"
#include "bar/icon_strip.h"
#include "bar/keyboard.h"
#include "bar/faces.h"
#include "bar/layout.h"
#include "bar/pages.h"
#include "bar/properties_dialog.h"
#include "bar/program_dialog.h"
#include "caption/caption_frame.h"
#include "launch/run_dialog.h"
#include "launch/slot_activation.h"
#include "syspanel/panel_rules.h"
#include "syspanel/syspanel.h"
#include "tips/tooltip.h"

namespace {

constexpr DWORD kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNWINDOW;
// What a docked bar loses, and what a floating one gets back.
constexpr DWORD kDockedStyleMask = 0xFFB7BFFF;
constexpr DWORD kFloatingStyleBits = 0x884000;


using Ctl3dProc = BOOL(WINAPI *)(HINSTANCE);

void LoadCtl3d(HINSTANCE instance)
{
#if defined(__i386__) || defined(_M_IX86)
    // Only for the look of dialog controls: a system without it runs on.
    gApp.ctl3d = LoadSystemLibrary("CTL3D32.DLL");
#else
    // There is no 64-bit CTL3D32: nothing of that name is loaded at all.
    (void)instance;
#endif
    if (!gApp.ctl3d)
        return;
    auto reg = reinterpret_cast<Ctl3dProc>(reinterpret_cast<void *>(GetProcAddress(gApp.ctl3d, "Ctl3dRegister")));
    auto autoSub =
        reinterpret_cast<Ctl3dProc>(reinterpret_cast<void *>(GetProcAddress(gApp.ctl3d, "Ctl3dAutoSubclass")));
    gApp.ctl3dUnregister =
        reinterpret_cast<Ctl3dProc>(reinterpret_cast<void *>(GetProcAddress(gApp.ctl3d, "Ctl3dUnregister")));
    if (reg)
        reg(instance);
    if (autoSub)
        autoSub(instance);
}

void FreeCtl3d(HINSTANCE instance)
{
    if (!gApp.ctl3d)
        return;
    if (gApp.ctl3dUnregister)
        gApp.ctl3dUnregister(instance);
    FreeLibrary(gApp.ctl3d);
    gApp.ctl3d = nullptr;
    gApp.ctl3dUnregister = nullptr;
}

// What the bar's functions are handed: the one bar, its state and the settings as held.
BarView Bar(HWND bar)
{
    return {bar, gBar, gSettings, gSystemPanel};
}

// What the tooltip is handed of where the mouse rests: the bar's button under it, and what
// that button stands for.
Hover HoverNow()
{
    Hover at;
    at.tooltipsOff = (gSettings.mode & NoTooltips) != 0;
    const HWND under = WindowUnderCursor();
    const int cells = gSettings.columns * gSettings.rows;
    if (const int position = PositionOf(gBar.buttons, under); position >= 0 && position < cells) {
        at.button = under;
        at.on = gSystemPanel.shown ? HoverOn::PanelCell : HoverOn::ProgramSlot;
        at.index = gSystemPanel.shown ? PanelActionIndex(position, cells) : SlotNumber(gSettings, position);
        return at;
    }
    for (int id = IDC_PREV_PAGE; id <= IDC_PAGE_NUMBER; ++id)
        if (under && ControlButton(gBar.buttons, id) == under) {
            at.button = under;
            at.on = HoverOn::ControlButton;
            at.index = id - IDC_PREV_PAGE;
        }
    return at;
}

// A right click on a slot, or the menu key on it (a right click without Shift).
LRESULT OnSlotRightClick(HWND button, WPARAM keys)
{
    const HWND bar = GetParent(button);
    // A disabled bar has a modal window of its own open (see OnCommand).
    if (gSystemPanel.shown || !IsWindowEnabled(bar))
        return 0;
    HideTooltip(bar, gTooltip);
    MoveOrEditSlot(Bar(bar), button, keys);
    return 0;
}

// Files dropped on a slot: started with its program, or registered on an empty one.
LRESULT OnSlotDrop(HWND button, HDROP drop)
{
    const BarView v = Bar(GetParent(button));
    const int position = PositionOf(gBar.buttons, button);
    if (position < 0) {
        DragFinish(drop);
        return 0;
    }
    const int slot = SlotNumber(gSettings, position);
    if (const std::optional<std::string> path = OnFilesDropped(button, slot, drop, gApp.tearingDown, gSettings.language())) {
        RenderSlotCell(v, button, slot, path->c_str(), 0);
        BroadcastChangeNotice(NoticeChanged);
    }
    return 0;
}

LRESULT CALLBACK SlotButtonProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_RBUTTONDOWN: return OnSlotRightClick(button, wParam);
    case WM_DROPFILES: return OnSlotDrop(button, reinterpret_cast<HDROP>(wParam));
    case WM_CONTEXTMENU:
        if (lParam == -1)
            return OnSlotRightClick(button, 0);
        break;
    }
    return CallWindowProcA(PreviousProc(button), button, msg, wParam, lParam);
}

LRESULT CALLBACK PageArrowProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_RBUTTONDOWN || (msg == WM_CONTEXTMENU && lParam == -1)) {  // a click, or the menu key
        OnPageMenu(Bar(GetParent(button)), button, msg == WM_RBUTTONDOWN ? lParam : MAKELPARAM(2, 2));
        return 0;
    }
    if (msg == WM_COMMAND) {
        const int command = LOWORD(wParam);
        if (command > IDM_GOTO_PAGE && command <= IDM_GOTO_PAGE + kMaxPages) {
            OnGotoPage(Bar(GetParent(button)), command);
            return 0;
        }
    }
    return CallWindowProcA(PreviousProc(button), button, msg, wParam, lParam);
}

// Button 504 routes nothing of its own; it is subclassed like its neighbours.
LRESULT CALLBACK PassThroughProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(PreviousProc(button), button, msg, wParam, lParam);
}

// A click on a slot: the panel's action while the panel shows, else the slot's program, or
// the Program Definition dialog for an empty slot.
void OnSlotClick(HWND bar, int id, HWND button)
{
    if (gBar.move.on)
        return;
    const int position = id - IDC_FIRST_SLOT;
    if (gSystemPanel.shown) {
        if (RunPanelAction(bar, gSettings, PanelActionIndex(position, gSettings.columns * gSettings.rows))) {
            OpenRunDialog(bar, gLauncher.runHistory.get(), gSettings.language());
            // Processed after the dialog has closed, whatever its outcome: the panel is left.
            PostMessageA(bar, WM_COMMAND, IDC_SYSTEM_PANEL, 0);
        }
        return;
    }
    CloseTooltip(bar, gTooltip);
    SetActiveWindow(bar);
    const int slot = SlotNumber(gSettings, position);
    // A command posted by another program may not name the button; the dialog repaints it.
    if (StartSlotProgram(bar, gLauncher, slot, gSettings.language()) == SlotStart::Empty)
        OpenProgramDefinition(Bar(bar), bar, slot, button ? button : GetDlgItem(bar, id));
}

void OnSystemPanelToggle(HWND bar)
{
    if (gBar.move.on)
        return;
    gSystemPanel.shown = !gSystemPanel.shown;
    // Every slot repaints in its other face; 504's own face does not change.
    InvalidateSlots(Bar(bar));
}

// Whether slot buttons made for the grid of `before` stand where `after` puts them.
bool SameGrid(const BarSettings &before, const BarSettings &after)
{
    const GridGeometry a = GeometryFor(before, gBar.dpi), b = GeometryFor(after, gBar.dpi);
    return a.s == b.s && a.nc == b.nc && a.nr == b.nr && a.vertical == b.vertical && a.pageFirst == b.pageFirst;
}

void ApplyTopmost(HWND bar)
{
    // A clear bit does not take the bar out of the topmost band; only the pin does that.
    if (gSettings.mode & Topmost)
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

constexpr int kHotKeyId = 1;
// Posted to itself when another program holds the hot key: the box shows from the message loop, so a
// reload another program waits for returns at once.
constexpr UINT kHotKeyTakenMessage = WM_APP + 1;

// The hot key as the settings now have it. Registered anew only when it changed; one that another
// program holds is tried again at every reload, but the user is told of it once.
void ApplyHotKey(HWND bar)
{
    const HotKey wanted = gSettings.hotKey;
    if (wanted == gApp.hotKeyHeld)
        return;
    if (gApp.hotKeyHeld.key)
        UnregisterHotKey(bar, kHotKeyId);
    gApp.hotKeyHeld = HotKey{};
    if (!wanted.key)
        return;
    // Held down, the key would toggle the bar back and forth.
    if (RegisterHotKey(bar, kHotKeyId, wanted.modifiers | MOD_NOREPEAT, wanted.key))
        gApp.hotKeyHeld = wanted;
    else if (!(wanted == gApp.hotKeyTold)) {
        gApp.hotKeyTold = wanted;
        PostMessageA(bar, kHotKeyTakenMessage, 0, 0);
    }
}

void TellHotKeyTaken(HWND bar)
{
    // The key's name is ASCII, and at most 28 characters.
    wchar_t detail[48] = L"\n\n";
    const std::string name = FormatHotKey(gApp.hotKeyTold);
    for (std::size_t i = 0; i < name.size() && i + 3 < std::size(detail); ++i)
        detail[i + 2] = static_cast<wchar_t>(name[i]);
    TellUser(bar, gSettings.language(), IDS_HOT_KEY_TAKEN, BoxKind::Warning, detail);
}

// The hot key brings the bar forward with the focus on its first slot; pressed again while the bar is
// active, it gives the foreground back to the window that had it.
void OnHotKey(HWND bar)
{
    const HWND foreground = GetForegroundWindow();
    if (foreground == bar && gApp.focusBefore && IsWindow(gApp.focusBefore)) {
        SetForegroundWindow(gApp.focusBefore);
        gApp.focusBefore = nullptr;
        return;
    }
    // A dialog or box of the bar's is open: that comes forward, the bar stays behind it.
    if (!IsWindowEnabled(bar)) {
        SetForegroundWindow(GetLastActivePopup(bar));
        return;
    }
    if (foreground != bar)
        gApp.focusBefore = foreground;
    if (IsIconic(bar))
        ShowWindow(bar, SW_RESTORE);
    SetForegroundWindow(bar);
    FocusFirstSlot(Bar(bar));
}

void OnCreate(HWND bar)
{
    gApp.bar = bar;
    gApp.tearingDown = false;
    gApp.hotKeyTold = HotKey{};
    gApp.focusBefore = nullptr;
    gBar.move = MoveState{};
    gTooltip = TooltipState{};
    const BarPosition at = LoadSettings(true, gSettings);
    // Laid out at once at the scale of the monitor it is going to: a start on a monitor of
    // another scale than the primary's is not drawn twice.
    gBar.dpi = MonitorDpi(MonitorFromPoint({at.x, at.y}, MONITOR_DEFAULTTONEAREST));
    SetCaptionDpi(bar, gBar.dpi);
    LoadCtl3d(ResourceModule());
    ApplyTopmost(bar);
    gSystemPanel.shown = false;
    BuildBar(bar, at, false, true);
    gLauncher.runHistory = std::make_unique<RunHistory>();
    gLauncher.lastLaunchTick = 0xFFFFFFFF;
    ApplyHotKey(bar);
}

// The faces' fonts and bitmaps, made again at their next use.
void FreeFaces()
{
    gBar.faces.pageNumber.Reset();
    gBar.faces.twoDigits.clear();
    gBar.faces.bitmaps.clear();
    gBar.faces.numberPlates.clear();
}

void OnDestroy(HWND bar)
{
    // The save below broadcasts, and other programs' answers may arrive while it waits:
    // from here on nothing rebuilds the bar.
    gApp.tearingDown = true;
    if (gApp.hotKeyHeld.key)
        UnregisterHotKey(bar, kHotKeyId);
    gApp.hotKeyHeld = HotKey{};
    RestoreControlButtonProcs(gBar.buttons);
    DestroySlotButtons(gBar.buttons);
    FreeIconStrip(gBar.strip);
    FreeFaces();
    FreeCtl3d(ResourceModule());
    gLauncher.runHistory.reset();
    SaveSettingsOrTell(bar, gSettings, true);
    PostQuitMessage(0);
}

// The Properties dialog's OK: the bar is built again from where it stands now (a corner
// moves it there), and the choice is stored at once, or another program's reload would undo it.
void ApplyNewProperties(HWND bar, bool leftCorner)
{
    RECT r{};
    GetWindowRect(bar, &r);
    BuildBar(bar, BarPosition{r.left, r.top}, leftCorner, true);
    ApplyHotKey(bar);
    SaveSettingsOrTell(bar, gSettings);
}

// Moved to a monitor of another scale (or its scale changed): every size and face again at
// the new one, where the system suggests; the grid's counts and the page stay.
void OnDpiChanged(HWND bar, int dpi, const RECT *suggested)
{
    if (dpi <= 0 || dpi == gBar.dpi || !suggested)
        return;
    gBar.dpi = dpi;
    SetCaptionDpi(bar, dpi);
    FreeFaces();
    HideTooltip(bar, gTooltip);
    BuildBar(bar, BarPosition{suggested->left, suggested->top}, false, true);
}

Rect OuterRect(HWND bar)
{
    RECT r{};
    GetWindowRect(bar, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// Posted to itself when the user's move or resize ends: where the system draws only an
// outline while the mouse moves, it puts the window in its new place after saying the loop
// ended, so the place and the grid are known only once this arrives.
constexpr UINT kSizeMoveEndedMessage = WM_APP;

// The end of the user's drag of the caption or the border, or of the system menu's Move or
// Size from the keyboard: the new place and grid are stored at once, or another program's
// reload would put the bar back where the file still has it. A click that moved nothing, or
// a move given up with Esc, stores nothing.
void OnSizeMoveEnded(HWND bar)
{
    if (!(OuterRect(bar) == gBar.sizeMoveFrom))
        SaveSettingsOrTell(bar, gSettings);
}

void OnCommand(HWND bar, WPARAM wParam, LPARAM lParam)
{
    // A disabled bar has a modal dialog or box of its own open: commands that other programs
    // post meanwhile would open another one over it.
    if (!IsWindowEnabled(bar))
        return;
    const int id = LOWORD(wParam);
    // Only the slots of the grid as it stands: a higher id names no button of this page.
    if (id >= IDC_FIRST_SLOT && id < IDC_FIRST_SLOT + static_cast<int>(gBar.buttons.slots.size()))
        OnSlotClick(bar, id, reinterpret_cast<HWND>(lParam));
    else if (id == IDC_PREV_PAGE || id == IDC_NEXT_PAGE || id == IDC_PIN)
        OnPageCommand(Bar(bar), id);
    else if (id == IDC_PAGE_NUMBER && !gBar.move.on)
        OpenProperties(bar, gSettings, ApplyNewProperties);
    else if (id == IDC_SYSTEM_PANEL)
        OnSystemPanelToggle(bar);
}

// The tooltip's class is wide, so that a Japanese name reaches it on a Western system too.
template <typename WndClass, typename Register>
bool RegisterOne(HINSTANCE instance, Register registerClass, WndClass wc, WNDPROC proc, HICON icon,
                 COLORREF background)
{
    wc.style = kClassStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(background);
    if (registerClass(&wc))
        return true;
    DeleteObject(wc.hbrBackground);
    return false;
}

void UnregisterOne(HINSTANCE instance, const char *name)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, name, &wc))
        DeleteObject(wc.hbrBackground);
    UnregisterClassA(name, instance);
}

} // namespace

bool RegisterBarClasses(HINSTANCE instance)
{
    WNDCLASSA bar{};
    bar.lpszClassName = kBarClassName;
    WNDCLASSW tips{};
    const std::wstring tipsName(kTooltipClass, kTooltipClass + sizeof kTooltipClass - 1);
    tips.lpszClassName = tipsName.c_str();
    return RegisterOne(instance, RegisterClassA, bar, BarWndProc, LoadIconA(instance, MAKEINTRESOURCEA(IDI_TAV)),
                       RGB(192, 192, 192)) &&
           RegisterOne(instance, RegisterClassW, tips, TooltipWndProc, nullptr, 0x0080FFFF);
}

void UnregisterBarClasses(HINSTANCE instance)
{
    UnregisterOne(instance, kBarClassName);
    UnregisterOne(instance, kTooltipClass);
}

HWND CreateBar(HINSTANCE instance)
{
    gApp.taskbarCreatedId = RegisterWindowMessageA("TaskbarCreated");
    return CreateWindowExA(kBarExStyle, kBarClassName, kBarTitle, kBarStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

void AddNotifyIcon(HWND bar)
{
    const HICON icon = gApp.notifyIcon.hIcon;  // kept when the shell asks for the icon again
    gApp.notifyIcon = NOTIFYICONDATAA{};
    gApp.notifyIcon.hIcon = icon;
    gApp.notifyIcon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gApp.notifyIcon.hWnd = bar;
    gApp.notifyIcon.uID = kTrayIconId;
    gApp.notifyIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    gApp.notifyIcon.uCallbackMessage = TrayCallbackMessage;
    if (!gApp.notifyIcon.hIcon)
        gApp.notifyIcon.hIcon = static_cast<HICON>(
            LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_TAV), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    lstrcpynA(gApp.notifyIcon.szTip, kBarTitle, sizeof gApp.notifyIcon.szTip);
    Shell_NotifyIconA(NIM_ADD, &gApp.notifyIcon);
}

void RemoveNotifyIcon(HWND)
{
    Shell_NotifyIconA(NIM_DELETE, &gApp.notifyIcon);
    if (gApp.notifyIcon.hIcon)
        DestroyIcon(gApp.notifyIcon.hIcon);
    gApp.notifyIcon.hIcon = nullptr;
}

LRESULT ReloadBar(HWND bar)
{
    // A file another program holds reads as nothing at all: the bar then stays as it is.
    if (!ProfileReadable())
        return 0;
    const BarSettings before = gSettings;
    const BarPosition at = LoadSettings(false, gSettings);
    ApplyTopmost(bar);
    gSystemPanel.shown = false;  // a reload shows the programs again
    // The slot buttons stay where the grid stays, and so do the strip's cells whose entries did.
    const bool sameGrid = !gBar.buttons.slots.empty() && SameGrid(before, gSettings);
    const bool samePages = before.maximumPages == gSettings.maximumPages;
    BuildBar(bar, at, false, !sameGrid, !samePages);
    ApplyHotKey(bar);
    return 0;
}

void BuildBar(HWND bar, BarPosition at, bool wholly, bool remakeButtons, bool wholeStrip)
{
    const DWORD was = static_cast<DWORD>(GetWindowLongA(bar, GWL_STYLE));
    const DWORD style = (gSettings.mode & CornerMask) ? ((was & kDockedStyleMask) | WS_BORDER) : (was | kFloatingStyleBits);
    if (style != was)
        SetWindowLongA(bar, GWL_STYLE, static_cast<LONG>(style));
    const BarView v = Bar(bar);
    if (wholeStrip)
        BuildIconStrip(bar, gBar.strip, gBar.faces, gSettings, gBar.dpi);
    else
        RefreshIconStrip(bar, gBar.strip, gBar.faces, gSettings, gBar.dpi);
    if (remakeButtons) {
        DestroySlotButtons(gBar.buttons);
        CreateSlotButtons(v, SlotButtonProc);
    } else {
        InvalidateSlots(v);  // new faces and names on the same buttons
    }
    if (gBar.buttons.controls[0])
        PlaceControlButtons(v);
    else
        CreateControlButtons(v, PageArrowProc, PassThroughProc);
    // The size message this causes finds the buttons made for this very size.
    SizeBarAt(v, {at.x, at.y}, wholly, style != was);
}

LRESULT CALLBACK BarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Once the teardown has begun, nothing may build the bar up again.
    if (gApp.tearingDown && (msg == WM_USER || msg == WM_SIZE || msg == WM_COMMAND || msg == WM_HOTKEY))
        return msg == WM_USER ? 0 : SmallCaptionFrame(bar, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: OnCreate(bar); break;
    case WM_DESTROY: OnDestroy(bar); break;
    case WM_SIZE:
        Regrid(Bar(bar), SlotButtonProc, static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        // A larger grid may show cells not drawn yet: drawn before they paint, and named.
        if (ReadyShownCells(gBar.strip, gBar.faces, gSettings))
            NameSlotButtons(Bar(bar));
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HideTooltip(bar, gTooltip);
            gApp.focusBefore = nullptr;  // left some other way: the hot key's next press brings it again
        }
        break;
    case WM_ENTERSIZEMOVE: gBar.sizeMoveFrom = OuterRect(bar); break;
    case WM_EXITSIZEMOVE: PostMessageA(bar, kSizeMoveEndedMessage, 0, 0); break;
    case kSizeMoveEndedMessage: OnSizeMoveEnded(bar); return 0;
    case WM_QUERYENDSESSION: SaveSettingsOrTell(bar, gSettings, gApp.tearingDown); break;
    case WM_GETMINMAXINFO: return FillTrackLimits(Bar(bar), reinterpret_cast<MINMAXINFO *>(lParam));
    case WM_DPICHANGED: OnDpiChanged(bar, HIWORD(wParam), reinterpret_cast<const RECT *>(lParam)); break;
    case WM_DRAWITEM: return DrawButtonFace(Bar(bar), reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    case WM_COMMAND:
        OnCommand(bar, wParam, lParam);
        UpdateHover(bar, gTooltip, HoverNow());
        break;
    case WM_SETCURSOR: UpdateHover(bar, gTooltip, HoverNow()); break;
    case WM_TIMER: ShowTooltipOnTimer(bar, gTooltip, (gSettings.mode & NoTooltips) != 0); break;
    case WM_USER: return ReloadBar(bar);
    case WM_HOTKEY:
        if (wParam == kHotKeyId)
            OnHotKey(bar);
        break;
    case kHotKeyTakenMessage: TellHotKeyTaken(bar); return 0;
    case TrayCallbackMessage:
        // The notification icon's click, or another start of the program (RunBar).
        if (lParam == WM_RBUTTONDOWN || lParam == WM_LBUTTONDOWN) {
            if (IsIconic(bar))
                ShowWindow(bar, SW_RESTORE);
            SetForegroundWindow(bar);
        }
        break;
    default:
        if (gApp.taskbarCreatedId && msg == gApp.taskbarCreatedId)
            AddNotifyIcon(bar);
        break;
    }
    return SmallCaptionFrame(bar, msg, wParam, lParam);
}

namespace {

// Two starts at the same moment could both find no bar and both create one:
// the look-up and the creation are one step under this lock.
class StartLock {
public:
    StartLock() : mutex_(CreateMutexA(nullptr, FALSE, "TAV!START"))
    {
        if (mutex_)
            WaitForSingleObject(mutex_, kWaitMs);  // abandoned by a crashed start: ours now
    }
    ~StartLock() { Release(); }
    StartLock(const StartLock &) = delete;
    StartLock &operator=(const StartLock &) = delete;
    void Release()
    {
        if (!mutex_)
            return;
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }

private:
    static constexpr DWORD kWaitMs = 10000;
    HANDLE mutex_;
};

// Whether a message of any kind waits for this thread. It handles none: a sent one
// must not run while the strip is selected into a painter's DC.
bool MessageWaits()
{
    return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0;
}

void PumpUntilQuit(MSG &msg)
{
    for (;;) {
        // The strip's cells of the pages not shown yet are drawn while no message waits.
        if (gBar.strip.pending) {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DrawPendingCells(gBar.strip, gBar.faces, MessageWaits);
                continue;
            }
            if (msg.message == WM_QUIT)
                break;
        } else if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            break;
        }
        if (HandleBarKey(Bar(gApp.bar), msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int RunBar(HINSTANCE instance)
{
    StartLock lock;
    if (const HWND running = FindWindowA(kBarClassName, kBarTitle)) {
        MessageBeep(MB_ICONHAND);
        // Starting it again is how a bar hidden behind other windows is looked for: the running
        // bar comes forward as for its icon's click. Only it can take the foreground for itself,
        // and this start, the user's latest action, may let it.
        DWORD process = 0;
        GetWindowThreadProcessId(running, &process);
        AllowSetForegroundWindow(process);
        PostMessageA(running, TrayCallbackMessage, 0, WM_LBUTTONDOWN);
        return 0;
    }
    if (!RegisterBarClasses(instance))
        return 0;
    ClearInterruptedChange();
    HWND bar = CreateBar(instance);
    lock.Release();  // the bar can be found from now on
    if (!bar)
        return 0;
    StartChangeNotices();
    ShowWindow(bar, SW_SHOWNORMAL);
    // The show command this program was started with is not ours to follow: the first
    // ShowWindow may have been made to obey it, so insist once.
    if (IsIconic(bar) || !IsWindowVisible(bar))
        ShowWindow(bar, SW_SHOWNORMAL);
    UpdateWindow(bar);
    AddNotifyIcon(bar);
    BroadcastChangeNotice(NoticeStarted);

    MSG msg;
    PumpUntilQuit(msg);
    // A WM_QUIT posted by another program ends the loop with the bar still up: take it
    // down the ordinary way, so the settings are saved and the notices come in order.
    if (IsWindow(bar)) {
        DestroyWindow(bar);
        PumpUntilQuit(msg);
    }
    UnregisterBarClasses(instance);
    BroadcastChangeNotice(NoticeEnded);
    RemoveNotifyIcon(bar);
    return static_cast<int>(msg.wParam);
}
