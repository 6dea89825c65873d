// Where a WM_USER reload of a bar of 20 pages of 20 slots spends its time:
// the reload itself, and its two halves, in a bar of this process. No floor: it explains the reload's figure of
// bench_startup, whose floor holds none of the window work.
// Uses the tree's TAV.INI, put back at the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "ini/settings.h"
#include "bench_util.h"

using namespace bench;

int main()
{
    const IniBackup keep;
    HWND bar = MakeBarHere();
    if (!bar)
        return 1;

    // The reload is one call; its two halves are the settings read and the build.
    std::vector<double> reload, read, build;
    for (int run = 0; run <= kRuns; ++run) {
        const double start = NowMs();
        ReloadBar(bar);
        const double reloaded = NowMs();
        const BarPosition position = LoadSettings(false, gSettings);
        const double settingsRead = NowMs();
        BuildBar(bar, position, false, true);
        const double built = NowMs();
        if (run == 0)
            continue;  // the first warms the caches
        reload.push_back(reloaded - start);
        read.push_back(settingsRead - reloaded);
        build.push_back(built - settingsRead);
    }
    std::printf("a reload of 20 pages of 20 slots, median of %d runs\n", kRuns);
    for (auto *v : {&reload, &read, &build})
        std::sort(v->begin(), v->end());
    Note("reload in this process", reload[kRuns / 2], "ms");
    Note("  settings read", read[kRuns / 2], "ms");
    Note("  bar built (strip, buttons, size)", build[kRuns / 2], "ms");

    EndBarHere(bar);
    return 0;
}
