// Whatever the settings and whatever client size another program or a drag
// gives the bar, the grid stays five to twenty slots long and one deep, and
// every button lies inside the client of that grid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bar/layout_rules.h"

static void Check(bool ok)
{
    if (!ok)
        std::abort();
}

static bool Inside(const Box &b, const Extent &c)
{
    return b.x >= 0 && b.y >= 0 && b.w > 0 && b.h > 0 && b.x + b.w <= c.w && b.y + b.h <= c.h;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    struct {
        uint16_t mode;
        int16_t buttons;
        int16_t width, height;
    } in{};
    std::memcpy(&in, data, size < sizeof in ? size : sizeof in);

    BarSettings s;
    s.mode = in.mode;
    s.cellSize = CellSizeForMode(s.mode);
    DeriveGrid(s.mode, ClampButtonsPerPage(in.buttons), s.columns, s.rows);
    const bool vertical = (s.mode & Vertical) != 0;
    const GridCounts old{s.columns, s.rows};
    const GridCounts now = UsableCounts(CountsForClient(s.cellSize, vertical, in.width, in.height), old, vertical);
    const int along = vertical ? now.nr : now.nc, across = vertical ? now.nc : now.nr;
    Check(along >= kMinButtonsPerPage && along <= kMaxButtonsPerPage && across == 1);

    s.columns = now.nc;
    s.rows = now.nr;
    const GridGeometry g = GeometryFor(s);
    const Extent client = ClientSize(g);
    for (int k = 0; k < g.nc * g.nr; ++k)
        Check(Inside(SlotBox(g, k), client));
    for (int id = 501; id <= 505; ++id)
        Check(Inside(ControlBox(g, id), client));
    return 0;
}
