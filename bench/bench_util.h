// What every benchmark needs: a clock, a median, the tree's TAV.INI kept
// safe while a benchmark writes its own, and a line of the report.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/win_test.h"

namespace bench {

// The tree's TAV.INI and program folder, as the tests reach them.
using tavtest::IniPath;
using tavtest::ProgramDir;
using tavtest::WriteIni;

constexpr int kRuns = 15;
constexpr double kGoal = 1.3;        // what every figure may cost against its floor
constexpr double kLaunchGoal = 1.1;  // a click to a started process
constexpr double kInformation = 0;   // a figure beside an old floor: no goal

double NowMs();
// Milliseconds that one run of `work` takes.
double Time(const std::function<void()> &work);

// Paired timings of a piece of work and its floor.
struct Figures {
    double work = 0, floor = 0;  // medians, ms
    double ratio = 0;            // median of the runs' own ratios
    double low = 0, high = 0;    // quartiles of those ratios: how noisy the run was
    double fastest = 0;          // the fastest run against the fastest floor: the least disturbed pair
};
// The medians of kRuns pairs after one pair to warm the caches. The two
// sides take turns, the first side alternating from pair to pair, so that a
// change in the machine's load falls on both alike; each pair's own ratio is
// kept, and their median is the figure least moved by the load.
Figures Compare(const std::function<double()> &work, const std::function<double()> &floor);
// The same from timings already taken in pairs.
Figures Summarise(const std::vector<double> &work, const std::vector<double> &floor);

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

// The settings of a bar of 20 pages of 20 slots, the size every 400-slot benchmark uses.
constexpr char kTwentyPagesOfTwenty[] = "[environment section]\r\nmaximum pages=20\r\nbuttons par page=20\r\n";

// A bar made in this process on a TAV.INI of 20 pages of 20 slots (icons 0
// to 3 of tav_testicons.dll, cycled), shown and painted; null when it cannot
// be made. EndBarHere destroys it and unregisters its classes.
HWND MakeBarHere();
void EndBarHere(HWND bar);

// One line for a reader and one for bench/run:
//   "<what>  <figure> ms   floor (<floorWhat>) <floor> ms   ratio <r> [q1-q3] fastest <f> goal <g>"
//   "@bench|<what>|<figure>|<floorWhat>|<floor>|<ratio>|<q1>|<q3>|<fastest>|<goal>"
void Report(const char *what, const Figures &f, const char *floorWhat, double goal = kGoal);
// A figure without a floor: "@note|<what>|<value>|<unit>".
void Note(const char *what, double value, const char *unit);

} // namespace bench
