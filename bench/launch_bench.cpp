// From a click's WM_COMMAND on a registered slot to the started program
// running (the probe's own clock reading on entry), against the floor of
// starting the same probe with a direct CreateProcessA.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "support/bar_driver.h"
#include "support/probe_log.h"

using namespace bench;
using tavtest::ProbeLog;

namespace {

double Ticks(long long ticks)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Milliseconds from just before `start` to the probe's entry, median of kRuns after one warm-up.
double MedianToProbe(const ProbeLog &log, const std::function<void()> &start, DWORD gapMs)
{
    std::vector<double> ms;
    for (int i = 0; i <= kRuns; ++i) {
        log.Clear();
        tavtest::PumpFor(gapMs);  // the bar refuses a second start within two seconds
        LARGE_INTEGER before;
        QueryPerformanceCounter(&before);
        start();
        auto records = log.WaitFor(1);
        if (records.empty())
            return -1;
        if (i > 0)
            ms.push_back(Ticks(std::stoll(records[0]["qpc"]) - before.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main()
{
    const IniBackup keep;
    const ProbeLog log;
    const std::string probe = tavtest::ProbePath();
    WriteIni("[environment section]\r\nposition=40,40\r\n[program section]\r\nprofile000=x,0,,\"" + probe + "\"\r\n");

    // The same command line, flags and start-up record as the bar gives it.
    const std::string line = tavtest::FoundExecutable(probe) + " ";
    const double floorMs = MedianToProbe(
        log,
        [&] {
            std::string cmd = line;
            STARTUPINFOA si{};
            si.cb = sizeof si;
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = SW_SHOWNORMAL;
            PROCESS_INFORMATION pi{};
            if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                               CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, ProgramDir().c_str(), &si,
                               &pi)) {
                CloseHandle(pi.hProcess);
                CloseHandle(pi.hThread);
            }
        },
        0);

    tavtest::BarProcess tav;
    const HWND bar = tav.WaitForBar();
    if (!bar) {
        std::printf("the bar did not start\n");
        return 1;
    }
    const HWND slot = GetDlgItem(bar, 1000);
    const double clickMs = MedianToProbe(
        log, [&] { SendMessageA(bar, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(slot)); },
        2100);
    std::printf("slot click to started program, median of %d runs\n", kRuns);
    Report("click to probe running", clickMs, "direct CreateProcessA", floorMs);
    return 0;
}
