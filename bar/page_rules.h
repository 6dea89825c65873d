// Page turning, the page menu's items, the decision a right click on a slot
// leads to, and the Properties dialog's rules for the settings it edits.
// No Win32 here: pages.cpp and properties_dialog.cpp act on these answers.
#pragma once
#include <string>

#include "ini/settings_rules.h"
#include "res/resource.h"

// Arrow 501 and 502, wrapping around. A page 0 or a single page stays put;
// a page outside 1 .. maximumPages counts from the nearer end.
int PreviousPage(int page, int maximumPages);
int NextPage(int page, int maximumPages);

// The page menu: one item per page, command 5120 + page.

constexpr int GotoPageCommand(int page)
{
    return IDM_GOTO_PAGE + page;
}
// The page a menu command asks for, or 0 when it names no page of the bar.
int PageOfCommand(int command, int maximumPages);

// What a right click on a slot does.
enum class SlotRightClick {
    Nothing,        // the system panel stands in for the slots
    EndMove,        // the picked-up slot was clicked again
    Swap,           // move mode ends by exchanging the two slots
    StartMove,      // Shift: pick this slot up
    OpenDefinition, // the Program Definition dialog for this slot
};
SlotRightClick DecideSlotRightClick(bool panelShown, bool moveOn, int moveSource, int slot, bool shift);

// The Properties dialog's number of pages.
constexpr bool PageCountAccepted(int n)
{
    return n >= 1 && n <= kMaxPages;
}
// One step of its spin arrows: -1 (upper arrow) keeps at least 1, +1 at most 20.
int SpinPageCount(int n, int step);

// What the dialog's OK hands over: the list indices and the check boxes.
struct PropertiesChoice {
    int pages = 1;
    int corner = 0; // the corner list's index; none or out of range stores corner 0
    bool vertical = false;
    bool smallButtons = false;
    bool noTooltips = false;
    bool pageButtonsFirst = false;
    HotKey hotKey;
};
// The settings after OK: mode (every other bit kept), pages, cell size, the
// same number of slots in the new orientation, page 1, and the hot key.
void ApplyProperties(const PropertiesChoice &choice, BarSettings &settings);
