// Where a WM_USER reload of a bar of 20 pages of 20 slots spends its time:
// the reload's main steps, timed one by one in a bar of this process, in
// the order the reload takes them. No floor: it explains the reload's figure of
// bench_startup, whose floor holds none of the window work.
// Uses the tree's TAV.INI, put back at the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/app_state.h"
#include "ini/settings.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "bench_util.h"

using namespace bench;

int main()
{
    const IniBackup keep;
    HWND bar = MakeBarHere();
    if (!bar)
        return 1;

    const char *steps[] = {"  settings read",     "  20 buttons' procedures put back",
                           "  20 buttons destroyed", "  icon strip built",
                           "  20 buttons made",      "  control buttons placed, bar sized"};
    std::vector<double> took[std::size(steps) + 1];
    for (int run = 0; run <= kRuns; ++run) {
        double at = NowMs(), t[std::size(steps)];
        const auto lap = [&](int step) {
            const double now = NowMs();
            t[step] = now - at;
            at = now;
        };
        const double start = at;
        const BarPosition position = LoadSettings(false);
        lap(0);
        for (HWND b : gButtons.slots)
            RestoreButtonProc(b);
        lap(1);
        for (HWND b : gButtons.slots)
            DestroyWindow(b);
        gButtons.slots.clear();
        lap(2);
        BuildIconStrip(bar);
        lap(3);
        CreateSlotButtons(bar);
        lap(4);
        PlaceControlButtons();
        gButtons.justMade = true;
        SizeBarAt(bar, position.x, position.y);
        gButtons.justMade = false;
        lap(5);
        if (run == 0)
            continue;  // the first warms the caches
        for (size_t i = 0; i < std::size(steps); ++i)
            took[i].push_back(t[i]);
        took[std::size(steps)].push_back(at - start);
    }
    std::printf("a reload of 20 pages of 20 slots in its steps, median of %d runs\n", kRuns);
    for (auto &v : took)
        std::sort(v.begin(), v.end());
    Note("reload in this process, in steps", took[std::size(steps)][kRuns / 2], "ms");
    for (size_t i = 0; i < std::size(steps); ++i)
        Note(steps[i], took[i][kRuns / 2], "ms");

    EndBarHere(bar);
    return 0;
}
