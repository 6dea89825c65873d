// Whatever a hand edit puts into "environment section" (the seven keys' text, a line each, as the reader hands
// them back), the settings come out inside the ranges the bar can live with.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check.h"
#include "ini/settings_rules.h"

// The reader stops at a zero byte and cuts at its buffer.
static std::string AsRead(const std::string &text, std::size_t buffer)
{
    const std::string upToZero = text.c_str();
    return upToZero.substr(0, buffer - 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && lines.size() < 7)
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    lines.resize(7);
    auto integer = [&](int k, int def) { return ProfileInt(AsRead(lines[k], kIntegerBuffer).c_str(), def); };
    RawSettings raw{integer(0, 1), integer(1, kDefaultMode), integer(2, kDefaultMaximumPages),
                    integer(3, kDefaultStartupPage), integer(4, kDefaultButtonsPerPage), "",
                    AsRead(lines[6], kHotKeyBuffer)};
    // A hot key reads back as itself from the form it is stored in.
    if (const std::optional<HotKey> hotKey = ParseHotKey(lines[6]))
        Check(ParseHotKey(FormatHotKey(*hotKey)) == hotKey);

    for (bool startup : {true, false}) {
        raw.position = AsRead(lines[5], startup ? kStartupPositionBuffer : kReloadPositionBuffer);
        BarSettings s;
        const BarPosition p = ApplyRawSettings(raw, startup, s);
        Check(s.maximumPages >= 1 && s.maximumPages <= kMaxPages);
        Check(s.currentPage >= 1 && s.currentPage <= s.maximumPages);
        Check(s.columns == 1 || s.rows == 1);
        const int along = s.columns * s.rows;
        Check(along >= kMinButtonsPerPage && along <= kMaxButtonsPerPage);
        Check(s.mode <= 0xFFFF);
        Check(s.languageOffset == 0 || s.languageOffset == 1);
        Check(s.cellSize == kLargeCell || s.cellSize == kSmallCell);
        Check(p.x >= -32768 && p.x <= 32767 && p.y >= -32768 && p.y <= 32767);
        Check(SlotNumber(s, along - 1) < kMaxPages * kMaxButtonsPerPage);
        Check(ParseHotKey(FormatHotKey(s.hotKey)) == s.hotKey);
    }
    return 0;
}
