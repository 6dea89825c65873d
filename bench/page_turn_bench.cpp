// A page turn with the repaint of 20 slots, against its floor: copying 20
// cells from a memory bitmap to the same 20 buttons, storing their 20 names
// and writing the new page number on its plate.
//
// The bar is created in this process from a TAV.INI of 20 pages of 20
// registered slots, each of its own name (the tree's TAV.INI is put back at
// the end). Both sides end with GdiFlush, so neither leaves drawing queued.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "ini/code_page_path.h"
#include "ini/settings_rules.h"
#include "bar/faces.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "bar/pages.h"
#include "bench_util.h"
#include "winkit/gdi_holders.h"

using namespace bench;

namespace {

constexpr int kTurns = 100; // per timed run: one turn alone is below the clock's grain

BarView Bar(HWND bar) { return {bar, gBar, gSettings, gSystemPanel}; }

// A page turn as the arrow button makes it, with every repaint it causes done now.
void TurnPages(HWND bar)
{
    for (int i = 0; i < kTurns; ++i) {
        OnPageCommand(Bar(bar), IDC_NEXT_PAGE);
        RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
    }
}

// How the turn's time divides: the bar's slot painter alone, called into
// each button's DC as a turn calls it, and the page number's repaint.
void DrawFacesDirectly(HWND bar)
{
    for (int i = 0; i < kTurns; ++i) {
        DrawSlotFacesNow(Bar(bar));
        GdiFlush();
    }
}

void DrawPageNumberDirectly(HWND bar)
{
    for (int i = 0; i < kTurns; ++i) {
        DrawPageNumberNow(Bar(bar));
        GdiFlush();
    }
}

// What the benchmark's own wait for the turn's repaints costs when a turn leaves nothing to repaint.
void CheckForRepaints(HWND bar)
{
    for (int i = 0; i < kTurns; ++i) {
        RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
    }
}

// The least any page turn costs: one copy per button from cells already
// drawn, each button's name of the new page stored (names made ready for
// all pages), and the new page number written on its plate.
void CopyCells(HDC cells, const std::vector<std::wstring> &names)
{
    for (int i = 0; i < kTurns; ++i) {
        for (size_t k = 0; k < gBar.buttons.slots.size(); ++k) {
            const HWND button = gBar.buttons.slots[k];
            const WindowDc dc(button);
            BitBlt(dc.get(), 0, 0, kStripCellSize, kStripCellSize, cells, 0,
                   static_cast<int>((k + i) % kStripCellsPerPage) * kStripCellSize, SRCCOPY);
            const std::wstring &name = names[(i % 20) * kStripCellsPerPage + k];
            DefWindowProcW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        const WindowDc number(ControlButton(gBar.buttons, IDC_PAGE_NUMBER));
        BitBlt(number.get(), 0, 0, kStripCellSize / 2, kStripCellSize, cells, 0, 0, SRCCOPY);
        char digits[8];
        TextOutA(number.get(), 9, 9, digits, std::snprintf(digits, sizeof digits, "%d", i % 20 + 1));
        GdiFlush();
    }
}

} // namespace

int main()
{
    const IniBackup keep;
    HWND bar = MakeBarHere();
    if (!bar)
        return 1;

    // The floor's cells: the first page of the bar's own strip, copied once.
    const WindowDc screen(bar);
    const MemoryDc cells(screen.get());
    const GdiObject<HBITMAP> bitmap(
        CreateCompatibleBitmap(screen.get(), kStripWidth, kStripCellsPerPage * kStripCellSize));
    const Selection cellsSelected(cells.get(), bitmap.get());
    BitBlt(cells.get(), 0, 0, kStripWidth, kStripCellsPerPage * kStripCellSize, gBar.strip.dc.get(), 0, 0, SRCCOPY);

    // The floor's names: the slots' own, as wide texts for every page.
    while (DrawPendingCells(gBar.strip, gBar.faces, [] { return false; })) {
    }
    std::vector<std::wstring> names;
    for (const std::string &name : gBar.strip.names)
        names.push_back(WideFromCodePage(name));

    std::printf("%d page turns of %zu slots, median of %d runs\n", kTurns, gBar.buttons.slots.size(), kRuns);
    const auto copies = [&] { return Time([&] { CopyCells(cells.get(), names); }); };
    Report("100 page turns with repaint", Compare([&] { return Time([&] { TurnPages(bar); }); }, copies),
           "20 cell copies+names+number");
    Report("  of which the slot faces alone", Compare([&] { return Time([&] { DrawFacesDirectly(bar); }); }, copies),
           "20 cell copies+names+number", kInformation);
    Report("  of which the page number alone", Compare([&] { return Time([&] { DrawPageNumberDirectly(bar); }); }, copies),
           "20 cell copies+names+number", kInformation);
    Report("  of which the check for repaints", Compare([&] { return Time([&] { CheckForRepaints(bar); }); }, copies),
           "20 cell copies+names+number", kInformation);

    EndBarHere(bar);
    return 0;
}
