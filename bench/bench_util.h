// What every benchmark needs: a clock, a median, the tree's TAV.INI kept
// safe while a benchmark writes its own, and a line of the report.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "support/win_test.h"

namespace bench {

// The tree's TAV.INI and program folder, as the tests reach them.
using tavtest::IniPath;
using tavtest::ProgramDir;
using tavtest::WriteIni;

constexpr int kRuns = 11;

double NowMs();
// Milliseconds that one run of `work` takes.
double Time(const std::function<void()> &work);
// The medians of kRuns figures of `work` and of `floor` (each in ms), taken
// alternately after one run of each to warm the caches, so that a change in
// the machine's load falls on both alike.
std::pair<double, double> Compare(const std::function<double()> &work, const std::function<double()> &floor);

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
