#include "bar/pages.h"

#include <string>

#include "ini/change_notice.h"
#include "ini/profile_file.h"
#include "texts/message_box.h"
#include "texts/strings.h"
#include "bar/faces.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "bar/program_dialog.h"
#include "winkit/gdi_holders.h"

namespace {

using OwnedMenu = Owned<HMENU, DestroyMenu>;

void ShowPage(const BarView &v, int page)
{
    v.settings.currentPage = page;
    ReadyShownCells(v.state.strip, v.state.faces, v.settings);
    NameSlotButtons(v);
    // Drawn at once rather than through paint messages: the turn then costs little more
    // than copying the cells.
    DrawSlotFacesNow(v);
    DrawPageNumberNow(v);
}

void TogglePin(const BarView &v)
{
    v.settings.mode ^= Topmost;
    const HWND band = (v.settings.mode & Topmost) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(v.window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    InvalidateRect(ControlButton(v.state.buttons, IDC_PIN), nullptr, FALSE);
    // Stored at once: another program's reload would otherwise take the pin back.
    SaveSettingsOrTell(v.window, v.settings);
}

} // namespace

void OnPageCommand(const BarView &v, int id)
{
    const BarSettings &settings = v.settings;
    switch (id) {
    case IDC_PREV_PAGE:
    case IDC_NEXT_PAGE: {
        const int page = id == IDC_PREV_PAGE ? PreviousPage(settings.currentPage, settings.maximumPages)
                                             : NextPage(settings.currentPage, settings.maximumPages);
        if (page != settings.currentPage)
            ShowPage(v, page);
        break;
    }
    case IDC_PIN:
        if (!v.state.move.on)
            TogglePin(v);
        break;
    }
}

void MoveOrEditSlot(const BarView &v, HWND button, WPARAM keys)
{
    const int k = PositionOf(v.state.buttons, button);
    if (k < 0)
        return;
    MoveState &move = v.state.move;
    const int slot = SlotNumber(v.settings, k);
    switch (DecideSlotRightClick(v.panel.shown, move.on, move.sourceSlot, slot, (keys & MK_SHIFT) != 0)) {
    case SlotRightClick::Nothing: break;
    case SlotRightClick::EndMove:
        move.on = false;
        InvalidateSlots(v);
        break;
    case SlotRightClick::Swap:
        move.on = false;
        InvalidateSlots(v);
        if (const SlotExchange done = ExchangeProgramSlots(move.sourceSlot, slot); done != SlotExchange::Done) {
            if (done == SlotExchange::NotStored)
                TellNotStored(v.window, v.settings.language());
            else
                MessageBeep(MB_ICONHAND);
            break;
        }
        SwapStripCells(v, button, move.sourceSlot, slot);
        BroadcastChangeNotice(NoticeChanged);
        break;
    case SlotRightClick::StartMove:
        move.on = true;
        move.sourceSlot = slot;
        InvalidateSlots(v);
        break;
    case SlotRightClick::OpenDefinition: OpenProgramDefinition(v, button, slot, button); break;
    }
}

void OnPageMenu(const BarView &v, HWND button, LPARAM point)
{
    const BarSettings &settings = v.settings;
    const OwnedMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    // Wide: the Japanese items reach a Western system too.
    const std::wstring format = LoadTavText(v.settings.language(), IDS_PAGE_MENU_ITEM);
    for (int page = 1; page <= settings.maximumPages; ++page) {
        wchar_t text[128] = {};
        wsprintfW(text, format.c_str(), page);
        const UINT checked = page == settings.currentPage ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu.get(), MF_STRING | checked, static_cast<UINT_PTR>(GotoPageCommand(page)), text);
    }
    // The click's client coordinates are never negative on the button itself.
    POINT at{LOWORD(point), HIWORD(point)};
    ClientToScreen(button, &at);
    // The chosen page comes back to the button as WM_COMMAND (OnGotoPage).
    TrackPopupMenu(menu.get(), 0, at.x, at.y, 0, button, nullptr);
}

void OnGotoPage(const BarView &v, int command)
{
    if (const int page = PageOfCommand(command, v.settings.maximumPages))
        ShowPage(v, page);
}
