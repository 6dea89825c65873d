// From starting TAV.EXE to its start notice ("TAV_MESSAGE" code 1), and the
// WM_USER reload round trip, each against its floor measured in the same run:
//
//   empty TAV.INI         floor_window.exe: one tool window, one notification
//                         icon, one broadcast;
//   400 slots, start      the same floor, reading "program section" once and
//                         extracting the slots' icons first (400 distinct
//                         icon files, or one extraction when every slot
//                         shares one file);
//   400 slots, reload     reading "program section" once and the same
//                         extractions, in this process.
//
// Beside the starts, what the bar's design adds to those floors: the same
// floors with the bar's slot and control buttons, owner-drawn
// (floor_window.exe /buttons=N), and the bar of 400 programs against the
// same bar with none.
//
// Beside them, the memory of each bar once it has announced its start.
// The icon files are copies of tav_testicons.dll in %TEMP%\tav_bench_icons;
// the tree's TAV.INI is put back at the end.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "bench_util.h"

using namespace bench;

namespace {

UINT gNotice = 0;
bool gStarted = false;

LRESULT CALLBACK ListenerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == gNotice && l == 1)
        gStarted = true;
    return DefWindowProcA(h, m, w, l);
}

// Pumps messages (the started program's broadcast waits for this thread) until done() or ~10 s.
template <typename Done>
void PumpUntil(HANDLE process, Done done)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

struct Running {
    PROCESS_INFORMATION pi{};
    bool started = false;
};

// Starts `command` and waits for its code 1.
Running Start(const std::string &command)
{
    std::string cmd = command;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    Running r;
    gStarted = false;
    if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &r.pi)) {
        PumpUntil(r.pi.hProcess, [] { return gStarted; });
        r.started = gStarted;
    }
    return r;
}

// Closes the window of `windowClass` and waits for the process to end.
void Stop(Running &r, const char *windowClass)
{
    if (HWND w = FindWindowA(windowClass, nullptr))
        PostMessageA(w, WM_CLOSE, 0, 0);
    PumpUntil(r.pi.hProcess, [&] { return WaitForSingleObject(r.pi.hProcess, 0) == WAIT_OBJECT_0; });
    CloseHandle(r.pi.hProcess);
    CloseHandle(r.pi.hThread);
}

// Milliseconds from starting `command` to its code 1 (its closing is not counted).
double TimeStart(const std::string &command, const char *windowClass)
{
    const double start = NowMs();
    Running r = Start(command);
    const double elapsed = NowMs() - start;
    Stop(r, windowClass);
    return r.started ? elapsed : -1;
}

struct Icon {
    std::string file;
    int index;
};

// TAV.INI with 400 titled slots on `icons` (cycled), and the list of those icons for the floor.
void WriteSlots(const std::vector<Icon> &icons, const std::string &listFile)
{
    std::string text = std::string(kTwentyPagesOfTwenty) + "[program section]\r\n";
    for (int n = 0; n < 400; ++n) {
        const Icon &i = icons[n % icons.size()];
        char key[32], title[48];
        std::snprintf(key, sizeof key, "profile%03d=", n);
        std::snprintf(title, sizeof title, "Title%03d=slot %d\r\n", n, n);
        text += key + i.file + "," + std::to_string(i.index) + ",,C:\\PROGRAM.EXE\r\n" + title;
    }
    WriteIni(text);
    FILE *f = std::fopen(listFile.c_str(), "w");
    for (const Icon &i : icons)
        std::fprintf(f, "%s,%d\n", i.file.c_str(), i.index);
    std::fclose(f);
}

// The bar's private memory and working set, in KB. Wine answers 0 for
// PrivateUsage, so the private memory is counted region by region: the
// committed pages that belong to the process alone (heaps, stacks), not the
// images and mappings it shares. Wine keeps bitmaps outside these regions:
// the strip shows in the working set only.
void NoteMemory(const Running &r, const std::string &what)
{
    SIZE_T privateBytes = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (char *at = nullptr; VirtualQueryEx(r.pi.hProcess, at, &m, sizeof m) == sizeof m;
         at = static_cast<char *>(m.BaseAddress) + m.RegionSize)
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
            privateBytes += m.RegionSize;
    Note((what + ", private memory").c_str(), static_cast<double>(privateBytes) / 1024.0, "KB");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(r.pi.hProcess, &counters, sizeof counters))
        Note((what + ", working set").c_str(), static_cast<double>(counters.WorkingSetSize) / 1024.0, "KB");
}

void ExtractAll(const std::vector<Icon> &icons)
{
    for (const Icon &i : icons) {
        HICON icon = ExtractIconA(GetModuleHandleA(nullptr), i.file.c_str(), static_cast<UINT>(i.index));
        if (reinterpret_cast<UINT_PTR>(icon) > 1)
            DestroyIcon(icon);
    }
}

void ReadSection()
{
    std::vector<char> text(1 << 16);
    while (GetPrivateProfileSectionA("program section", text.data(), static_cast<DWORD>(text.size()), "TAV.INI") + 2 >=
           text.size())
        text.resize(text.size() * 2);
}

} // namespace

int main()
{
    const std::string library = ProgramDir() + "\\tav_testicons.dll";
    if (GetFileAttributesA(library.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "bench_startup: %s is missing (build tav_testicons)\n", library.c_str());
        return 1;
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "tav_bench_icons";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::vector<Icon> distinct;
    for (int n = 0; n < 400; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "\\icons%03d.dll", n);
        distinct.push_back({dir + name, n % 4});
        CopyFileA(library.c_str(), distinct.back().file.c_str(), FALSE);
    }
    const std::vector<Icon> shared{{library, 1}};
    const std::string listFile = dir + "\\floor_icons.txt";

    const IniBackup keep;
    gNotice = RegisterWindowMessageA("TAV_MESSAGE");
    WNDCLASSA wc{};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TAV bench listener";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);

    const std::string tav = "\"" + ProgramDir() + "\\TAV.EXE\"";
    const std::string floor = "\"" + ProgramDir() + "\\floor_window.exe\"";
    std::printf("start to the start notice, and reload; median of %d runs\n", kRuns);
    WriteIni("");
    const auto empty = Compare([&] { return TimeStart(tav, "TAV!"); }, [&] { return TimeStart(floor, "TAV floor"); });
    Report("start, empty TAV.INI", empty, "window+icon+notice");
    const auto emptyButtons = Compare([&] { return TimeStart(tav, "TAV!"); },
                                      [&] { return TimeStart(floor + " /buttons=5", "TAV floor"); });
    Report("  against a floor with its 10 buttons", emptyButtons, "the same+5+5 owner-drawn buttons");
    for (const auto &[command, windowClass, what] : {std::tuple{tav, "TAV!", "bar, empty TAV.INI"},
                                                     std::tuple{floor, "TAV floor", "floor program"}}) {
        Running r = Start(command);
        NoteMemory(r, what);
        Stop(r, windowClass);
    }

    const struct {
        const char *start, *startFloor, *reload, *reloadFloor, *memory;
        const std::vector<Icon> &icons;
    } variants[] = {
        {"start, 400 slots, 400 icon files", "the same+section+400 extractions", "reload, 400 slots, 400 files",
         "section+400 extractions", "bar, 400 slots, 400 files", distinct},
        {"start, 400 slots, one icon file", "the same+section+1 extraction", "reload, 400 slots, one file",
         "section+1 extraction", "bar, 400 slots, one file", shared},
    };
    for (const auto &v : variants) {
        WriteSlots(v.icons, listFile);
        const auto start = Compare([&] { return TimeStart(tav, "TAV!"); },
                                   [&] { return TimeStart(floor + " " + listFile, "TAV floor"); });
        Report(v.start, start, v.startFloor);
        if (&v.icons == &shared) {
            // The same bar, 20 buttons on each of 20 pages, with no program at all: what is left
            // above the programs' own cost is the bar's 20 slot buttons, made and painted.
            const auto programs = Compare([&] { return TimeStart(tav, "TAV!"); }, [&] {
                WriteIni(kTwentyPagesOfTwenty);
                const double t = TimeStart(tav, "TAV!");
                WriteSlots(v.icons, listFile);
                return t;
            });
            Report("  of which the 400 programs", programs, "the same bar, no program");
            const auto buttons = Compare([&] { return TimeStart(tav, "TAV!"); }, [&] {
                return TimeStart(floor + " /buttons=20 " + listFile, "TAV floor");
            });
            Report("  against a floor with its 25 buttons", buttons, "the same+20+5 owner-drawn buttons");
        }

        Running bar = Start(tav);
        NoteMemory(bar, v.memory);
        HWND w = FindWindowA("TAV!", "TAV!");
        const auto reload = Compare([&] { return Time([&] { SendMessageA(w, WM_USER, 0, 0); }); }, [&] {
            return Time([&] {
                ReadSection();
                ExtractAll(v.icons);
            });
        });
        Report(v.reload, reload, v.reloadFloor);
        Stop(bar, "TAV!");
    }

    // What every reload of a bar of 20 pages costs whatever its slots hold: the
    // settings, a strip of blank faces, the slot buttons made again, the bar
    // placed and sized.
    WriteIni(kTwentyPagesOfTwenty);
    Running bar = Start(tav);
    const HWND w = FindWindowA("TAV!", "TAV!");
    std::vector<double> fixed;
    for (int i = 0; i <= kRuns; ++i)
        fixed.push_back(Time([&] { SendMessageA(w, WM_USER, 0, 0); }));
    fixed.erase(fixed.begin());  // the first warms the caches
    std::sort(fixed.begin(), fixed.end());
    Note("reload, 400 empty slots (the rebuild alone)", fixed[fixed.size() / 2], "ms");
    Stop(bar, "TAV!");

    for (const Icon &i : distinct)
        DeleteFileA(i.file.c_str());
    DeleteFileA(listFile.c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
