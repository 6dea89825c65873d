#include "bench_util.h"
#include "winkit/module.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "ini/settings_rules.h"

namespace bench {

double NowMs()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Time(const std::function<void()> &work)
{
    const double start = NowMs();
    work();
    return NowMs() - start;
}

namespace {

double Quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

} // namespace

Figures Summarise(const std::vector<double> &work, const std::vector<double> &floor)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < work.size() && i < floor.size(); ++i)
        ratios.push_back(floor[i] > 0 ? work[i] / floor[i] : 0);
    if (ratios.empty())
        return {};
    const double fastestFloor = Quantile(floor, 0);
    return {Quantile(work, 0.5),     Quantile(floor, 0.5),  Quantile(ratios, 0.5), Quantile(ratios, 0.25),
            Quantile(ratios, 0.75), fastestFloor > 0 ? Quantile(work, 0) / fastestFloor : 0};
}

Figures Compare(const std::function<double()> &work, const std::function<double()> &floor)
{
    work();
    floor();
    std::vector<double> a, b;
    for (int i = 0; i < kRuns; ++i) {
        if (i % 2) {
            b.push_back(floor());
            a.push_back(work());
        } else {
            a.push_back(work());
            b.push_back(floor());
        }
    }
    return Summarise(a, b);
}

static void FlushProfileCache()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "TAV.INI");
}

HWND MakeBarHere()
{
    std::string text = std::string(kTwentyPagesOfTwenty) + "position=20,20\r\n[program section]\r\n";
    for (int n = 0; n < 400; ++n)
        text += ProfileKey(n) + "=" + ProgramDir() + "\\tav_testicons.dll," + std::to_string(n % 4) + ",,C:\\P" + std::to_string(n) + ".EXE\r\n";
    WriteIni(text);
    HWND bar = RegisterBarClasses(ResourceModule()) ? CreateBar(ResourceModule()) : nullptr;
    if (bar) {
        ShowWindow(bar, SW_SHOWNORMAL);
        UpdateWindow(bar);
    }
    return bar;
}

void EndBarHere(HWND bar)
{
    DestroyWindow(bar);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))  // the WM_QUIT of the teardown
        ;
    UnregisterBarClasses(ResourceModule());
}

IniBackup::IniBackup()
{
    FlushProfileCache();
    had_ = MoveFileExA(IniPath().c_str(), (IniPath() + ".bench").c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

IniBackup::~IniBackup()
{
    FlushProfileCache();
    DeleteFileA(IniPath().c_str());
    if (had_)
        MoveFileExA((IniPath() + ".bench").c_str(), IniPath().c_str(), MOVEFILE_REPLACE_EXISTING);
    FlushProfileCache();
}

void Report(const char *what, const Figures &f, const char *floorWhat, double goal)
{
    std::printf("%-34s %9.2f ms   floor (%s) %9.2f ms   ratio %5.2f [%.2f-%.2f] fastest %.2f goal %.1f\n", what,
                f.work, floorWhat, f.floor, f.ratio, f.low, f.high, f.fastest, goal);
    std::printf("@bench|%s|%.2f|%s|%.2f|%.2f|%.2f|%.2f|%.2f|%.1f\n", what, f.work, floorWhat, f.floor, f.ratio, f.low,
                f.high, f.fastest, goal);
    std::fflush(stdout);
}

void Note(const char *what, double value, const char *unit)
{
    std::printf("%-34s %9.1f %s\n@note|%s|%.1f|%s\n", what, value, unit, what, value, unit);
    std::fflush(stdout);
}

} // namespace bench
