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

double Median(const std::function<void()> &work)
{
    work();
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        const double start = NowMs();
        work();
        ms.push_back(NowMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
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
