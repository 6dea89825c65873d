// Whatever the settings and whatever client size another program or a drag
// gives the bar, the grid stays five to twenty slots long and one deep, and
// every button lies inside the client of that grid, none over another.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "check.h"
#include "bar/layout_rules.h"

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
    std::vector<Box> all;
    for (int k = 0; k < g.nc * g.nr; ++k)
        all.push_back(SlotBox(g, k));
    for (int id = 501; id <= 505; ++id)
        all.push_back(ControlBox(g, id));
    for (size_t i = 0; i < all.size(); ++i) {  // every button inside the client, no two overlapping
        const Box &a = all[i];
        Check(Inside(a, client));
        for (size_t j = i + 1; j < all.size(); ++j) {
            const Box &b = all[j];
            Check(a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y);
        }
    }
    return 0;
}
