// Whatever a hand edit puts into "environment section", the settings come
// out inside the ranges the bar can live with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/settings_rules.h"

static void Check(bool ok)
{
    if (!ok)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RawSettings raw;
    long long fields[5] = {};
    const std::size_t head = size < sizeof fields ? size : sizeof fields;
    std::memcpy(fields, data, head);
    raw.japan = fields[0];
    raw.mode = fields[1];
    raw.maximumPages = fields[2];
    raw.startupPage = fields[3];
    raw.buttonsPerPage = fields[4];
    raw.position.assign(reinterpret_cast<const char *>(data + head), size - head);
    raw.position = raw.position.c_str();  // the profile reader stops at a zero byte

    for (bool startup : {true, false}) {
        BarSettings s;
        const BarPosition p = ApplyRawSettings(raw, startup, s);
        Check(s.maximumPages >= 1 && s.maximumPages <= kMaxPages);
        Check(s.currentPage >= 1 && s.currentPage <= s.maximumPages);
        Check(s.columns * s.rows >= 1 && s.columns * s.rows <= kMaxButtonsPerPage);
        Check(s.columns == 1 || s.rows == 1);
        Check(s.mode <= 0xFFFF);
        Check(s.languageOffset == 0 || s.languageOffset == 1);
        Check(s.cellSize == kLargeCell || s.cellSize == kSmallCell);
        Check(p.x >= -32768 && p.x <= 32767 && p.y >= -32768 && p.y <= 32767);
        Check(SlotNumber(s, s.columns * s.rows - 1) < kMaxPages * kMaxButtonsPerPage);
    }
    return 0;
}
