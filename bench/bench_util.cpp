#include "bench_util.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

std::pair<double, double> Compare(const std::function<double()> &work, const std::function<double()> &floor)
{
    work();
    floor();
    std::vector<double> a, b;
    for (int i = 0; i < kRuns; ++i) {
        a.push_back(work());
        b.push_back(floor());
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

static void FlushProfileCache()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "TAV.INI");
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

void Report(const char *what, double figure, const char *floorWhat, double floor)
{
    std::printf("%-34s %9.1f ms   floor (%s) %9.1f ms   ratio %5.2f\n", what, figure, floorWhat, floor,
                floor > 0 ? figure / floor : 0.0);
}

} // namespace bench
