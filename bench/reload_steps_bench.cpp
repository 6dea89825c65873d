// Where a WM_USER reload of a bar of 20 pages of 20 slots spends its time, in
// a bar of this process: the reload when nothing changed and when one entry
// did (both keep the slot buttons and the cells that stayed), and the two
// halves of a whole rebuild, the settings read and the build (the strip
// drawn to its last cell, the buttons made again, the size). No floor: it
// explains the reload's figure of bench_startup, whose floor holds none of
// the window work. Uses the tree's TAV.INI, put back at the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "bar/icon_strip.h"
#include "ini/settings.h"
#include "bench_util.h"

using namespace bench;

int main()
{
    const IniBackup keep;
    HWND bar = MakeBarHere();
    if (!bar)
        return 1;
    const auto drawPending = [] {
        while (DrawPendingCells(gBar.strip, gBar.faces, [] { return false; })) {
        }
    };
    drawPending();
    // Slot 45 (page 3) changed by another program, back and forth.
    const std::string file = tavtest::ReadFileText(IniPath()), icons = ProgramDir() + "\\tav_testicons.dll";
    const std::string line = "profile045=" + icons + ",1,";
    std::string changed = file;
    changed.replace(changed.find(line), line.size(), "profile045=" + icons + ",3,");

    std::vector<double> same, one, read, build;
    for (int run = 0; run <= kRuns; ++run) {
        double start = NowMs();
        ReloadBar(bar);
        drawPending();
        const double reloaded = NowMs();
        WriteIni(run % 2 ? file : changed);
        const double written = NowMs();
        ReloadBar(bar);
        drawPending();
        const double reloadedOne = NowMs();
        const BarPosition position = LoadSettings(false, gSettings);
        const double settingsRead = NowMs();
        BuildBar(bar, position, false, true);
        drawPending();
        const double built = NowMs();
        if (run == 0)
            continue;  // the first warms the caches
        same.push_back(reloaded - start);
        one.push_back(reloadedOne - written);
        read.push_back(settingsRead - reloadedOne);
        build.push_back(built - settingsRead);
    }
    std::printf("a reload of 20 pages of 20 slots, median of %d runs\n", kRuns);
    for (auto *v : {&same, &one, &read, &build})
        std::sort(v->begin(), v->end());
    Note("reload in this process, nothing changed", same[kRuns / 2], "ms");
    Note("reload in this process, one entry changed", one[kRuns / 2], "ms");
    Note("rebuild: settings read", read[kRuns / 2], "ms");
    Note("rebuild: bar built wholly (strip, buttons, size)", build[kRuns / 2], "ms");

    EndBarHere(bar);
    return 0;
}
