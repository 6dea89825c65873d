#include "bar/pages.h"

#include <string>

#include "app/app_state.h"
#include "ini/settings.h"
#include "bar/faces.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "bar/program_dialog.h"
#include "winkit/gdi_holders.h"
#include "tips/tooltip.h"

namespace {

using OwnedMenu = Owned<HMENU, DestroyMenu>;

// Exchanges both keys of slots a and b, writing even empty values. Nothing is
// written unless all four values were read whole (false), and what could not
// be written is told (false too).
bool ExchangeSlotKeys(HWND owner, int a, int b)
{
    const std::string keys[2][2] = {{ProfileKey(a), ProfileKey(b)}, {TitleKey(a), TitleKey(b)}};
    std::string values[2][2];
    for (int kind = 0; kind < 2; ++kind)
        for (int side = 0; side < 2; ++side)
            if (const auto value = ReadProgramValue(keys[kind][side]))
                values[kind][side] = *value;
            else
                return false;
    for (int kind = 0; kind < 2; ++kind)
        if (!WriteProgramKey(keys[kind][1].c_str(), values[kind][0].c_str()) ||
            !WriteProgramKey(keys[kind][0].c_str(), values[kind][1].c_str()))
            return TellNotStored(owner), false;
    return true;
}

// A page turn draws its faces at once rather than through paint messages
// (see DrawFaceNow): the turn then costs little more than copying the cells.
void DrawSlotFacesNow()
{
    for (size_t k = 0; k < gBar.buttons.slots.size(); ++k)
        DrawFaceNow(gBar.buttons.slots[k], IDC_FIRST_SLOT + static_cast<int>(k), DrawSlotFace);
}

void ShowPage(int page)
{
    gSettings.currentPage = page;
    NameSlotButtons();
    DrawSlotFacesNow();
    DrawFaceNow(PageButton(IDC_PAGE_NUMBER), IDC_PAGE_NUMBER, DrawPageNumberFace);
}

void TogglePin(HWND bar)
{
    gSettings.mode ^= Topmost;
    const HWND band = (gSettings.mode & Topmost) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(bar, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    InvalidateRect(PageButton(IDC_PIN), nullptr, FALSE);
    // Stored at once: another program's reload would otherwise take the pin back.
    SaveSettings(bar);
}

int PositionOf(HWND button)
{
    for (size_t k = 0; k < gBar.buttons.slots.size(); ++k)
        if (gBar.buttons.slots[k] == button)
            return static_cast<int>(k);
    return -1;
}

} // namespace

void OnPageCommand(HWND bar, int id)
{
    switch (id) {
    case IDC_PREV_PAGE:
    case IDC_NEXT_PAGE: {
        const int page = id == IDC_PREV_PAGE ? PreviousPage(gSettings.currentPage, gSettings.maximumPages)
                                          : NextPage(gSettings.currentPage, gSettings.maximumPages);
        if (page != gSettings.currentPage)
            ShowPage(page);
        break;
    }
    case IDC_PIN:
        if (!gBar.move.on)
            TogglePin(bar);
        break;
    }
}

LRESULT OnSlotRightClick(HWND button, WPARAM keys, LPARAM)
{
    HWND bar = GetParent(button);
    // A disabled bar has a modal window of its own open (see the bar's command routing).
    if (gSystemPanel.shown || !IsWindowEnabled(bar))
        return 0;
    HideTooltip(bar);
    const int k = PositionOf(button);
    if (k < 0)
        return 0;
    const int slot = SlotNumber(gSettings, k);
    switch (DecideSlotRightClick(gSystemPanel.shown, gBar.move.on, gBar.move.sourceSlot, slot, (keys & MK_SHIFT) != 0)) {
    case SlotRightClick::Nothing: break;
    case SlotRightClick::EndMove:
        gBar.move.on = false;
        InvalidateSlots();
        break;
    case SlotRightClick::Swap:
        gBar.move.on = false;
        InvalidateSlots();
        if (!ExchangeSlotKeys(button, gBar.move.sourceSlot, slot)) {
            MessageBeep(MB_ICONHAND);
            break;
        }
        SwapStripCells(button, gBar.move.sourceSlot, slot);
        BroadcastChangeNotice(NoticeChanged);
        break;
    case SlotRightClick::StartMove:
        gBar.move.on = true;
        gBar.move.sourceSlot = slot;
        InvalidateSlots();
        break;
    case SlotRightClick::OpenDefinition: OpenProgramDefinition(button, slot, button); break;
    }
    return 0;
}

LRESULT OnPageMenu(HWND button, WPARAM, LPARAM point)
{
    const OwnedMenu menu(CreatePopupMenu());
    if (!menu)
        return 0;
    char format[64] = {};
    LoadTavString(IDS_PAGE_MENU_ITEM, format, sizeof format);
    for (int page = 1; page <= gSettings.maximumPages; ++page) {
        char text[128] = {};
        wsprintfA(text, format, page);
        const UINT checked = page == gSettings.currentPage ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu.get(), MF_STRING | checked, static_cast<UINT_PTR>(GotoPageCommand(page)), text);
    }
    // The click's client coordinates are never negative on the button itself.
    POINT at{LOWORD(point), HIWORD(point)};
    ClientToScreen(button, &at);
    // The chosen page comes back to the button as WM_COMMAND (OnGotoPage).
    TrackPopupMenu(menu.get(), 0, at.x, at.y, 0, button, nullptr);
    return 0;
}

LRESULT OnGotoPage(HWND, int command)
{
    if (const int page = PageOfCommand(command, gSettings.maximumPages))
        ShowPage(page);
    return 0;
}
