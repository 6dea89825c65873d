#include "bar/layout.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "ini/code_page_path.h"
#include "texts/strings.h"
#include "bar/layout_rules.h"
#include "bar/name_rules.h"
#include "syspanel/panel_rules.h"
#include "winkit/dpi.h"


namespace {

// The box `window` covers, in the client coordinates of `parent` (nullptr: the screen).
Box BoxOf(HWND window, HWND parent)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

constexpr char kPropHigh[] = "TAVHI";
constexpr char kPropLow[] = "TAVLO";
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

HWND CreateButton(HWND bar, int id, const Box &b)
{
    return CreateWindowExA(0, "button", "", kButtonStyle, b.x, b.y, b.w, b.h, bar,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(bar, GWLP_HINSTANCE)), nullptr);
}

int CaptionThickness(HWND bar, const BarSettings &settings)
{
    if (settings.mode & CornerMask)
        return 0;
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(bar, "ibSize")));
}

Extent BarWindowSize(const BarView &v)
{
    return WindowSize(GridOf(v), MetricForDpi(SM_CXFRAME, v.state.dpi), MetricForDpi(SM_CYFRAME, v.state.dpi),
                      CaptionThickness(v.window, v.settings));
}

// The control buttons that are subclassed when made and put back at teardown.
constexpr int kSubclassedControls[] = {IDC_PREV_PAGE, IDC_NEXT_PAGE, IDC_SYSTEM_PANEL};

} // namespace

namespace {

// The procedure each subclassed button had before, as the bar saved it. The window properties
// below carry the same value for other programs to read, but any program can rewrite them:
// the bar never calls an address it did not save itself.
struct SavedProc {
    HWND button;
    WNDPROC previous;
};
std::vector<SavedProc> gSavedProcs;

std::vector<SavedProc>::iterator FindSaved(HWND button)
{
    return std::find_if(gSavedProcs.begin(), gSavedProcs.end(),
                        [button](const SavedProc &s) { return s.button == button; });
}

} // namespace

void SubclassButton(HWND button, WNDPROC proc)
{
    const auto old = static_cast<ULONG_PTR>(SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    gSavedProcs.push_back({button, reinterpret_cast<WNDPROC>(old)});
    // Two halves of 16 bits as the properties have always held them; the high one keeps
    // everything above bit 15, so a 64-bit procedure address survives.
    SetPropA(button, kPropHigh, reinterpret_cast<HANDLE>(old >> 16));
    SetPropA(button, kPropLow, reinterpret_cast<HANDLE>(old & 0xFFFF));
}

WNDPROC PreviousProc(HWND button)
{
    const auto saved = FindSaved(button);
    // Not subclassed by the bar: the button class's own procedure is the only safe answer.
    if (saved != gSavedProcs.end())
        return saved->previous;
    WNDCLASSA wc{};
    return GetClassInfoA(nullptr, "button", &wc) ? wc.lpfnWndProc : DefWindowProcA;
}

void RestoreButtonProc(HWND button)
{
    // Already restored (or never subclassed): there is nothing to put back.
    const auto saved = FindSaved(button);
    if (saved == gSavedProcs.end())
        return;
    SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved->previous));
    gSavedProcs.erase(saved);
    RemovePropA(button, kPropHigh);
    RemovePropA(button, kPropLow);
}

namespace {

// Through the default procedure: the button's own would repaint its face, which shows no text.
// Only a changed name is stored, as storing one costs a round trip to the window system.
// Wide: a Japanese name reaches a Western system too (and the tooltip that shows it).
void SetName(HWND button, const std::wstring &name)
{
    wchar_t now[kValueBuffer] = {};
    DefWindowProcW(button, WM_GETTEXT, kValueBuffer, reinterpret_cast<LPARAM>(now));
    if (name != now)
        DefWindowProcW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

// A bar starts as one used with the mouse: no focus mark.
void HideFocusCues(HWND bar)
{
    SendMessageA(bar, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

std::wstring PanelActionName(const BarSettings &settings, int position)
{
    const int action = PanelActionIndex(position, settings.columns * settings.rows);
    return action >= 0 && action < kPanelActions ? LineOf(LoadTavText(settings.language(), IDS_PANEL_ACTIONS), action) : L"";
}

void NameSlotButton(const BarView &v, HWND button, int position)
{
    if (v.panel.shown) {
        SetName(button, PanelActionName(v.settings, position));
        return;
    }
    // From the strip's names: a page turn reads nothing from the file.
    const std::vector<std::string> &names = v.state.strip.names;
    const auto n = static_cast<std::size_t>(SlotNumber(v.settings, position));
    SetName(button, n < names.size() ? WideFromCodePage(names[n]) : std::wstring());
}

} // namespace

void NameSlotButtons(const BarView &v)
{
    const std::vector<HWND> &slots = v.state.buttons.slots;
    for (std::size_t k = 0; k < slots.size(); ++k)
        NameSlotButton(v, slots[k], static_cast<int>(k));
    wchar_t number[256] = {};
    wsprintfW(number, LoadTavText(v.settings.language(), IDS_PAGE_NUMBER).c_str(), v.settings.currentPage);
    SetName(ControlButton(v.state.buttons, IDC_PAGE_NUMBER), number);
}

void CreateSlotButtons(const BarView &v, WNDPROC slotProc)
{
    BarButtons &buttons = v.state.buttons;
    const GridGeometry g = GridOf(v);
    buttons.madeFor = ClientSize(g);
    buttons.slots.assign(static_cast<size_t>(g.nc) * g.nr, nullptr);
    for (int k = 0; k < g.nc * g.nr; ++k) {
        HWND b = CreateButton(v.window, IDC_FIRST_SLOT + k, SlotBox(g, k));
        buttons.slots[k] = b;
        DragAcceptFiles(b, TRUE);
        SubclassButton(b, slotProc);
    }
    if (ControlButton(buttons, IDC_PAGE_NUMBER))
        NameSlotButtons(v);
}

void DestroySlotButtons(BarButtons &buttons)
{
    for (HWND b : buttons.slots) {
        RestoreButtonProc(b);
        DestroyWindow(b);
    }
    buttons.slots.clear();
    buttons.madeFor = {};
}

void CreateControlButtons(const BarView &v, WNDPROC pageArrowProc, WNDPROC panelToggleProc)
{
    BarButtons &buttons = v.state.buttons;
    const GridGeometry g = GridOf(v);
    for (int id = IDC_PREV_PAGE; id <= IDC_PAGE_NUMBER; ++id)
        buttons.controls[id - IDC_PREV_PAGE] = CreateButton(v.window, id, ControlBox(g, id));
    for (int id : kSubclassedControls)
        SubclassButton(ControlButton(buttons, id), id == IDC_SYSTEM_PANEL ? panelToggleProc : pageArrowProc);
    constexpr struct { int id; unsigned name; } kNames[] = {
        {IDC_PREV_PAGE, IDS_PREVIOUS_PAGE}, {IDC_NEXT_PAGE, IDS_NEXT_PAGE}, {IDC_PIN, IDS_PIN},
        {IDC_SYSTEM_PANEL, IDS_SYSTEM_PANEL}};
    for (const auto &n : kNames)
        SetName(ControlButton(buttons, n.id), LoadTavText(v.settings.language(), n.name));
    NameSlotButtons(v);
    HideFocusCues(v.window);
}

void RestoreControlButtonProcs(const BarButtons &buttons)
{
    for (int id : kSubclassedControls)
        RestoreButtonProc(ControlButton(buttons, id));
}

void PlaceControlButtons(const BarView &v)
{
    const GridGeometry g = GridOf(v);
    for (int id = IDC_PREV_PAGE; id <= IDC_PAGE_NUMBER; ++id) {
        const Box b = ControlBox(g, id);
        // A button already in its place is left alone: each move is a round trip to the window
        // system, and every face is repainted below anyway.
        const HWND button = ControlButton(v.state.buttons, id);
        if (!(BoxOf(button, v.window) == b))
            MoveWindow(button, b.x, b.y, b.w, b.h, TRUE);
    }
    for (int id = IDC_PREV_PAGE; id <= IDC_PAGE_NUMBER; ++id)
        InvalidateRect(ControlButton(v.state.buttons, id), nullptr, TRUE);
}

namespace {

// The work area of the monitor nearest to `r`: its screen less a taskbar's edge.
Box WorkAreaNear(const RECT &r)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT &w = info.rcWork;
    return {w.left, w.top, w.right - w.left, w.bottom - w.top};
}

// A saved position can be off every screen (a monitor since removed, a hand
// edit): such a bar would be lost, so it comes onto the nearest monitor.
// A bar that leaves its corner comes wholly onto it: its caption and frame
// would otherwise hang past the edge it was docked to.
Point VisiblePosition(Point at, Extent size, bool wholly)
{
    RECT r{at.x, at.y, at.x + size.w, at.y + size.h};
    if (!wholly && MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        return at;
    return PlaceInside(at, size, WorkAreaNear(r));
}

} // namespace

void SizeBarAt(const BarView &v, Point at, bool wholly, bool frameChanged)
{
    const HWND bar = v.window;
    const Extent size = BarWindowSize(v);
    at = VisiblePosition(at, size, wholly);
    if (IsIconic(bar)) {
        // Minimized: the new place is where the bar comes back to.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(bar, &wp);
        wp.rcNormalPosition = {at.x, at.y, at.x + size.w, at.y + size.h};
        SetWindowPlacement(bar, &wp);
        return;
    }
    // The style may have changed (a corner set or cleared) without a change of
    // size: the frame must be worked out again, or the client keeps a caption
    // that is no longer there. A bar already there with the same frame is not moved.
    if (frameChanged || !(BoxOf(bar, nullptr) == Box{at.x, at.y, size.w, size.h}))
        SetWindowPos(bar, nullptr, at.x, at.y, size.w, size.h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The move regrids and docks the bar through WM_SIZE, but only when the client size
    // changed: a reload that only sets a corner keeps it, and must still reach the corner.
    FitBar(v);
}

void FitBar(const BarView &v)
{
    // Windows parks a minimized bar where it likes; that is not the bar's place.
    if (IsIconic(v.window))
        return;
    const Extent size = BarWindowSize(v);
    RECT window{};
    GetWindowRect(v.window, &window);
    const Point at = CornerPosition(v.settings.mode & CornerMask, WorkAreaNear(window), size, {window.left, window.top});
    if (!(Box{window.left, window.top, window.right - window.left, window.bottom - window.top} == Box{at.x, at.y, size.w, size.h}))
        SetWindowPos(v.window, nullptr, at.x, at.y, size.w, size.h, SWP_NOZORDER);
}

LRESULT Regrid(const BarView &v, WNDPROC slotProc, int sizeType, int width, int height)
{
    BarSettings &settings = v.settings;
    // A minimized bar has no client to lay out; its grid waits for the restore.
    if (sizeType == SIZE_MINIMIZED)
        return 0;
    const bool vertical = (settings.mode & Vertical) != 0;
    const GridCounts old{settings.columns, settings.rows};
    const GridCounts now = UsableCounts(CountsForClient(GridOf(v).s, vertical, width, height), old, vertical);
    settings.columns = now.nc;
    settings.rows = now.nr;
    // Every size message rebuilds the grid, but for one that reports the size the
    // buttons were just made for (the bar's own build causes those).
    if (!(now == old) || !(Extent{width, height} == v.state.buttons.madeFor)) {
        DestroySlotButtons(v.state.buttons);
        CreateSlotButtons(v, slotProc);
    }
    PlaceControlButtons(v);
    FitBar(v);
    return 0;
}

LRESULT FillTrackLimits(const BarView &v, MINMAXINFO *info)
{
    const GridGeometry g = GridOf(v);
    const TrackLimits l = TrackingLimits(g.s, g.vertical, MetricForDpi(SM_CXFRAME, v.state.dpi),
                                         MetricForDpi(SM_CYFRAME, v.state.dpi), CaptionThickness(v.window, v.settings));
    info->ptMinTrackSize = {l.min.w, l.min.h};
    info->ptMaxTrackSize = {l.max.w, l.max.h};
    return 0;
}

void InvalidateSlots(const BarView &v)
{
    for (HWND b : v.state.buttons.slots)
        InvalidateRect(b, nullptr, TRUE);
    // Whatever changed the faces (the panel, a swap, new settings) may have changed the names.
    NameSlotButtons(v);
}

int PositionOf(const BarButtons &buttons, HWND button)
{
    const auto at = std::find(buttons.slots.begin(), buttons.slots.end(), button);
    return at == buttons.slots.end() || !button ? -1 : static_cast<int>(at - buttons.slots.begin());
}
