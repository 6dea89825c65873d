#include "bar/page_rules.h"

#include <algorithm>

int PreviousPage(int page, int maximumPages)
{
    if (page == 0 || maximumPages <= 1)
        return page;
    const int p = std::clamp(page, 1, maximumPages);
    return p == 1 ? maximumPages : p - 1;
}

int NextPage(int page, int maximumPages)
{
    if (page == 0 || maximumPages <= 1)
        return page;
    const int p = std::clamp(page, 1, maximumPages);
    return p == maximumPages ? 1 : p + 1;
}

int PageOfCommand(int command, int maximumPages)
{
    const int page = command - IDM_GOTO_PAGE;
    return page >= 1 && page <= std::min(maximumPages, kMaxPages) ? page : 0;
}

SlotRightClick DecideSlotRightClick(bool panelShown, bool moveOn, int moveSource, int slot, bool shift)
{
    if (panelShown)
        return SlotRightClick::Nothing;
    if (moveOn)
        return moveSource == slot ? SlotRightClick::EndMove : SlotRightClick::Swap;
    return shift ? SlotRightClick::StartMove : SlotRightClick::OpenDefinition;
}

int SpinPageCount(int n, int step)
{
    if (step < 0)
        return std::max(n - 1, 1);
    if (step > 0)
        return std::min(n + 1, kMaxPages);
    return n;
}

void ApplyProperties(const PropertiesChoice &c, BarSettings &s)
{
    const unsigned corner = c.corner >= 0 && c.corner <= 4 ? static_cast<unsigned>(c.corner) : 0u;
    unsigned mode = (s.mode & ~(CornerMask | Vertical | SmallButtons | NoTooltips | PageButtonsFirst)) | corner;
    if (c.vertical)
        mode |= Vertical;
    if (c.smallButtons)
        mode |= SmallButtons;
    if (c.noTooltips)
        mode |= NoTooltips;
    if (c.pageButtonsFirst)
        mode |= PageButtonsFirst;
    s.mode = mode;
    s.maximumPages = c.pages;
    s.cellSize = CellSizeForMode(mode);
    DeriveGrid(mode, std::max(s.columns, s.rows), s.columns, s.rows);
    s.currentPage = 1;
    s.hotKey = c.hotKey;
}
