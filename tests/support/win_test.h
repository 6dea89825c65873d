// Helpers shared by the Windows tests: the profile file in the prefix's
// Windows directory, bounded waits that keep pumping messages, and pixels.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace tavtest {

// Full path of TAV.INI in the Windows directory (where the bar's bare name resolves).
std::string IniPath();
// Replace TAV.INI with exactly this text (no text: delete it), and drop the
// profile cache so the next read sees the file as written.
void WriteIni(const std::string &text);
void DeleteIni();
std::string ReadIni();
// The value of a key as the bar's own reader sees it; "<missing>" when absent.
std::string IniValue(const char *section, const char *key);

// Directory of the running test program (TAV.EXE and probe.exe stand beside it).
std::string ProgramDir();

// Dispatch the thread's messages for about ms milliseconds.
void PumpFor(DWORD ms);
// Pump messages until pred() holds or ms elapse; returns pred()'s last value.
bool PumpUntil(const std::function<bool()> &pred, DWORD ms = 5000);
// Wait for a process to end while pumping messages (a bar's broadcast would
// otherwise block on this thread's windows). Returns the exit code or -1.
int WaitProcessPumping(HANDLE process, DWORD ms = 10000);

// A read-only file's whole text, or "" when it cannot be read.
std::string ReadFileText(const std::string &path);

} // namespace tavtest
