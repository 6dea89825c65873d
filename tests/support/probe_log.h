// What the launch probe was started with; files dropped from outside.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tavtest {

// One start of the probe: "cmdline", "cwd", "title", "flags", "show", "qpc".
using ProbeRecord = std::map<std::string, std::string>;

// A fresh record file in TAV_PROBE_OUT, inherited by what this process starts.
struct ProbeLog {
    ProbeLog();
    ~ProbeLog() { Clear(); }
    void Clear() const { DeleteFileA(path.c_str()); }
    // The records there once `count` have come, or after `ms`.
    std::vector<ProbeRecord> WaitFor(size_t count, DWORD ms = 10000) const;
    std::string path;
};

std::string ProbePath();  // probe.exe beside the test program
std::string FoundExecutable(const std::string &file);

// A shell shortcut `link` to `target`, made through the shell's own link object; true when saved.
struct ShortcutFields {
    std::wstring target{}, arguments{}, directory{};
    int show = SW_SHOWNORMAL;
    std::wstring iconFile{};  // empty: none
    int iconIndex = 0;
};
bool MakeShortcut(const std::wstring &link, const ShortcutFields &fields);

// A drop block for `files` written into `process`: the WPARAM of its WM_DROPFILES, or null.
void *WriteDrop(HANDLE process, const std::vector<std::string> &files);
// WM_DROPFILES for `files`, posted; the block stays. Wide names as the shell hands them over.
bool PostDrop(HWND target, const std::vector<std::string> &files);
bool PostWideDrop(HWND target, const std::vector<std::wstring> &files);

} // namespace tavtest
