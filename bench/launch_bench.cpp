// From a click's WM_COMMAND on a registered slot to the started program
// running (the probe's own clock reading on entry), against the floor: the
// same WM_COMMAND to a window program that starts the probe with a direct
// CreateProcessA.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "support/win_test.h"
#include "support/probe_log.h"

using namespace bench;
using tavtest::ProbeLog;

namespace {

constexpr int kPairs = 11;

double Ticks(long long ticks)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Milliseconds from just before `start` to the probe's entry; -1 when no probe ran.
double ToProbe(const ProbeLog &log, const std::function<void()> &start)
{
    log.Clear();
    LARGE_INTEGER before;
    QueryPerformanceCounter(&before);
    start();
    auto records = log.WaitFor(1);
    return records.empty() ? -1 : Ticks(std::stoll(records[0]["qpc"]) - before.QuadPart);
}

HWND StartFloor(PROCESS_INFORMATION &pi)
{
    std::string cmd = "\"" + ProgramDir() + "\\floor_launch.exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    HWND w = nullptr;
    tavtest::PumpUntil([&] { return (w = FindWindowA("TAV floor launch", nullptr)) != nullptr; });
    return w;
}

} // namespace

int main()
{
    const IniBackup keep;
    const ProbeLog log;
    const std::string probe = tavtest::ProbePath();
    WriteIni("[environment section]\r\nposition=40,40\r\n[program section]\r\nprofile000=x,0,,\"" + probe + "\"\r\n");

    PROCESS_INFORMATION floorProcess{};
    const HWND floorWindow = StartFloor(floorProcess);
    tavtest::BarProcess tav;
    const HWND bar = tav.WaitForBar();
    if (!floorWindow || !bar) {
        std::printf("the bar or the floor did not start\n");
        return 1;
    }
    const HWND slot = GetDlgItem(bar, 1000);
    // Floor and bar take turns, so that both see the same load on the machine;
    // each start has a quiet second before it, and the bar's clicks stay two
    // seconds apart as its guard asks.
    std::vector<double> floorMs, clickMs;
    for (int i = 0; i <= kPairs; ++i) {
        tavtest::Settle(1050);
        const double f = ToProbe(log, [&] { SendMessageA(floorWindow, WM_COMMAND, 1000, 0); });
        tavtest::Settle(1050);
        const double c = ToProbe(log, [&] {
            SendMessageA(bar, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(slot));
        });
        if (i > 0) {  // the first pair warms the caches
            floorMs.push_back(f);
            clickMs.push_back(c);
        }
    }
    PostMessageA(floorWindow, WM_CLOSE, 0, 0);
    WaitForSingleObject(floorProcess.hProcess, 5000);
    CloseHandle(floorProcess.hProcess);
    CloseHandle(floorProcess.hThread);
    std::printf("slot click to started program, median of %d runs\n", kPairs);
    Report("slot click to program running", Summarise(clickMs, floorMs), "WM_COMMAND to CreateProcessA", kLaunchGoal);
    return 0;
}
