#include "bar/keyboard.h"

#include <algorithm>
#include <vector>

#include "ini/settings_rules.h"
#include "bar/layout.h"
#include "winkit/dpi_rules.h"

namespace {

// The buttons in the order they stand along the bar.
std::vector<HWND> ButtonsInOrder(const BarView &v)
{
    const BarButtons &buttons = v.state.buttons;
    std::vector<HWND> order;
    const bool pageButtonsFirst = v.settings.mode & PageButtonsFirst;
    if (pageButtonsFirst)
        order = {ControlButton(buttons, IDC_PREV_PAGE), ControlButton(buttons, IDC_NEXT_PAGE)};
    order.insert(order.end(), buttons.slots.begin(), buttons.slots.end());
    for (int id = pageButtonsFirst ? IDC_PIN : IDC_PREV_PAGE; id <= IDC_PAGE_NUMBER; ++id)
        order.push_back(ControlButton(buttons, id));
    return order;
}

void FocusWithMark(const BarView &v, HWND button)
{
    v.state.keys.keysUsed = true;
    SendMessageA(v.window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(button);
}

void MoveFocus(const BarView &v, int step)
{
    const std::vector<HWND> order = ButtonsInOrder(v);
    const auto at = std::find(order.begin(), order.end(), GetFocus());
    const int count = static_cast<int>(order.size());
    // From the bar itself the first step lands on the first or the last button.
    const int from = at == order.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - order.begin());
    FocusWithMark(v, order[(from + step + count) % count]);
}

// The button that has the focus, if it is one of the bar's.
HWND FocusedButton(HWND bar)
{
    const HWND focus = GetFocus();
    return focus && GetParent(focus) == bar ? focus : nullptr;
}

void EndMoveMode(const BarView &v)
{
    if (!v.state.move.on)
        return;
    v.state.move.on = false;
    InvalidateSlots(v);
}

} // namespace

bool HandleBarKey(const BarView &v, const MSG &msg)
{
    const HWND bar = v.window;
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !IsWindowEnabled(bar) ||
        (msg.hwnd != bar && GetParent(msg.hwnd) != bar))
        return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const HWND button = FocusedButton(bar);
    switch (msg.wParam) {
    case VK_RIGHT:
    case VK_DOWN: MoveFocus(v, 1); return true;
    case VK_LEFT:
    case VK_UP: MoveFocus(v, -1); return true;
    case VK_ESCAPE: EndMoveMode(v); return true;
    case VK_RETURN:
        if (button)
            SendMessageA(bar, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        return button != nullptr;
    case VK_F10:
        // As the menu key, which the system sends as WM_CONTEXTMENU (the subclass procedures take it).
        if (!shift || !button)
            return false;
        SendMessageA(button, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button), -1);
        return true;
    }
    return false;
}

void FocusFirstSlot(const BarView &v)
{
    if (!v.state.buttons.slots.empty())
        FocusWithMark(v, v.state.buttons.slots.front());
}

void DrawFocusMark(bool keysUsed, int cellSize, int dpi, const DRAWITEMSTRUCT &dis)
{
    // The bar's own state: the buttons follow it, also those made after a key was used.
    if (!keysUsed || !(dis.itemState & ODS_FOCUS) || !dis.hwndItem ||
        (SendMessageA(GetParent(dis.hwndItem), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        return;
    RECT r = dis.rcItem;
    const int inset = ScaleToDpi(r.right - r.left > cellSize / 2 ? 3 : 2, dpi);
    InflateRect(&r, -inset, -inset);
    DrawFocusRect(dis.hDC, &r);
}
