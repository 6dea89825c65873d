// Building the icon strip for 20 pages of 20 registered slots, the whole of
// it (the page shown first, then every pending cell as the idle bar draws
// them), against its floor: a minimal loop doing the extractions and copies
// the strip needs.
//
//   distinct: 400 slots, each with its own icon file (400 copies of
//             tav_testicons.dll); the floor extracts 400 icons.
//   shared:   400 slots with one file and index; the floor extracts it once,
//             draws it into a bitmap of the strip's size and copies that cell
//             400 times.
//
// Uses the tree's TAV.INI (the previous one is put back at the end) and
// files in %TEMP%\tav_bench_icons.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "winkit/module.h"
#include "ini/section_rules.h"
#include "ini/profile_file.h"
#include "bar/icon_strip.h"
#include "bench_util.h"

using namespace bench;

namespace {

constexpr int kSlots = 400;

struct Slot {
    std::string file;
    int index;
};

void WriteSlots(const std::vector<Slot> &slots)
{
    std::string text = std::string(kTwentyPagesOfTwenty) + "[program section]\r\n";
    for (int n = 0; n < static_cast<int>(slots.size()); ++n)
        text += ProfileKey(n) + "=" + slots[n].file + "," + std::to_string(slots[n].index) + ",,C:\\PROGRAM.EXE\r\n";
    WriteIni(text);
}

// What a program that only wants these icons must do.
void ExtractAll(const std::vector<Slot> &slots)
{
    for (const Slot &s : slots) {
        HICON icon = ExtractIconA(ResourceModule(), s.file.c_str(), static_cast<UINT>(s.index));
        if (reinterpret_cast<UINT_PTR>(icon) > 1)
            DestroyIcon(icon);
    }
}

// One extraction drawn into a strip-sized bitmap and copied into 400 cells.
void CopyOneIcon(HWND bar, const Slot &slot)
{
    const WindowDc screen(bar);
    const GdiObject<HBITMAP> cells(CreateCompatibleBitmap(screen.get(), kStripWidth, kSlots * kStripCellSize));
    const MemoryDc dc(nullptr);
    const Selection selected(dc.get(), cells.get());
    HICON icon = ExtractIconA(ResourceModule(), slot.file.c_str(), static_cast<UINT>(slot.index));
    if (reinterpret_cast<UINT_PTR>(icon) > 1) {
        DrawIcon(dc.get(), 3, 3, icon);
        DestroyIcon(icon);
    }
    for (int n = 0; n < kSlots; ++n)
        BitBlt(dc.get(), 0, n * kStripCellSize, kStripWidth, kStripCellSize, dc.get(), 0, 0, SRCCOPY);
}

// The strip as the bar has it in the end: the page shown at once, the rest drawn while idle.
void BuildWholeStrip(HWND bar)
{
    BuildIconStrip(bar, gBar.strip, gBar.faces, gSettings, kBaseDpi);
    while (DrawPendingCells(gBar.strip, gBar.faces, [] { return false; })) {
    }
}

// The strip's other unavoidable work: one read of the section, a lookup per slot.
void ReadAll()
{
    const std::string text = ReadProgramSection();
    const ProfileSection section = ParseProfileSection(text, NoLeadByte);
    for (int n = 0; n < kSlots; ++n)
        ProfileValue(section, ProfileKey(n), 2048, NoLeadByte);
}

} // namespace

int main()
{
    gSettings.maximumPages = 20;
    gSettings.columns = 20;
    gSettings.rows = 1;

    const std::string library = ProgramDir() + "\\tav_testicons.dll";
    if (GetFileAttributesA(library.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "bench_icon_strip: %s is missing (build tav_testicons)\n", library.c_str());
        return 1;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "tav_bench_icons";
    CreateDirectoryA(dir.c_str(), nullptr);

    std::vector<Slot> distinct, shared;
    for (int n = 0; n < kSlots; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "\\icons%03d.dll", n);
        distinct.push_back({dir + name, n % 4});
        CopyFileA(library.c_str(), distinct.back().file.c_str(), FALSE);
        shared.push_back({library, 1});
    }

    const IniBackup keep;
    HWND bar = CreateWindowExA(0, "STATIC", "bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

    std::printf("icon strip of %d slots (20 pages of 20), median of %d runs\n", kSlots, kRuns);
    WriteSlots(distinct);
    const auto d = Compare([&] { return Time([&] { BuildWholeStrip(bar); }); },
                           [&] { return Time([&] { ExtractAll(distinct); }); });
    Report("icon strip, 400 distinct icon files", d, "400 extractions");
    Note("icon strip, 400 files: the section read and 400 look-ups", Time(ReadAll), "ms");
    std::vector<double> first;
    for (int run = 0; run < kRuns; ++run)
        first.push_back(Time([&] { BuildIconStrip(bar, gBar.strip, gBar.faces, gSettings, kBaseDpi); }));
    std::sort(first.begin(), first.end());
    Note("icon strip, 400 files: the first page alone (before the bar shows)", first[kRuns / 2], "ms");

    WriteSlots(shared);
    const auto s1 = Compare([&] { return Time([&] { BuildWholeStrip(bar); }); },
                            [&] { return Time([&] { CopyOneIcon(bar, shared.front()); }); });
    Report("icon strip, one icon file for all 400", s1, "1 extraction, 400 cell copies");
    Note("icon strip, one file: the section read and 400 look-ups", Time(ReadAll), "ms");

    FreeIconStrip(gBar.strip);
    DestroyWindow(bar);
    for (const Slot &s : distinct)
        DeleteFileA(s.file.c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
