// What every benchmark needs: a clock, a median, the tree's TAV.INI kept
// safe while a benchmark writes its own, and a line of the report.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "support/win_test.h"

namespace bench {

// The tree's TAV.INI and program folder, as the tests reach them.
using tavtest::IniPath;
using tavtest::ProgramDir;
using tavtest::WriteIni;

constexpr int kRuns = 7;

double NowMs();
// Median of kRuns timings in milliseconds, after one run to warm the caches.
double Median(const std::function<void()> &work);

// Moves the tree's TAV.INI aside for the benchmark's life and puts it back.
class IniBackup {
public:
    IniBackup();
    ~IniBackup();
    IniBackup(const IniBackup &) = delete;
    IniBackup &operator=(const IniBackup &) = delete;

private:
    bool had_ = false;
};

// "<what>  <figure> ms   floor (<floorWhat>) <floor> ms   ratio <figure/floor>"
void Report(const char *what, double figure, const char *floorWhat, double floor);

} // namespace bench
