#include "bar/layout.h"

std::vector<HWND> gSlotButtons;
HWND gPageButtons[5] = {};

void InvalidateSlots()
{
    for (HWND b : gSlotButtons)
        InvalidateRect(b, nullptr, TRUE);
}
