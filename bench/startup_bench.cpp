// From starting TAV.EXE to its start notice ("TAV_MESSAGE" code 1), and the
// WM_USER reload after one changed entry, each against its floor measured in
// the same run. The floors of the starts show the same windows the bar shows
// (floor_window.exe /buttons=N: one tool window with the bar's slot and
// control buttons, owner-drawn, one notification icon, one broadcast):
//
//   empty TAV.INI     5 slot buttons and 5 control buttons;
//   400 slots         20 and 5, reading "program section" once and extracting
//                     every slot's icon before it shows (400 distinct icon
//                     files, or one extraction when every slot shares one);
//   reload            reading the section, extracting the one changed icon
//                     and repainting 20 owner-drawn faces, in this process.
//
// The old floors without buttons are given beside the starts as information.
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

// TAV.INI's first entry changed as another program would change it: slot 0 takes the icon
// file of slot `turn` (with its index), and the change is on disk before the reload is timed.
void ChangeFirstEntry(const std::vector<Icon> &icons, int turn)
{
    const Icon &i = icons[static_cast<std::size_t>(turn) % icons.size()];
    WritePrivateProfileStringA("program section", "profile000",
                               (i.file + "," + std::to_string(i.index) + ",,C:\\PROGRAM.EXE").c_str(), "TAV.INI");
}

LRESULT CALLBACK FacesProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DRAWITEM) {
        const auto *d = reinterpret_cast<const DRAWITEMSTRUCT *>(l);
        PatBlt(d->hDC, 0, 0, d->rcItem.right, d->rcItem.bottom, WHITENESS);
        return TRUE;
    }
    return DefWindowProcA(h, m, w, l);
}

// The reload's floor repaints 20 owner-drawn faces of a window of its own, each one fill.
class FacesWindow {
public:
    FacesWindow()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FacesProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TAV bench faces";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 200, 20 * 38, 38,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        for (int k = 0; k < 20; ++k)
            CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, k * 38, 0, 38, 38, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + k)), wc.hInstance, nullptr);
    }
    ~FacesWindow() { DestroyWindow(window_); }
    FacesWindow(const FacesWindow &) = delete;
    FacesWindow &operator=(const FacesWindow &) = delete;
    void Repaint() const { RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

private:
    HWND window_ = nullptr;
};

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
    // Each start against a floor that shows the same windows (the bar's slot and control
    // buttons, owner-drawn), which carries the goal; the old floor without buttons beside
    // it, as information.
    const auto empty = Compare([&] { return TimeStart(tav, "TAV!"); },
                               [&] { return TimeStart(floor + " /buttons=5", "TAV floor"); });
    Report("start, empty TAV.INI", empty, "window+5+5 owner-drawn buttons+icon+notice");
    const auto emptyBare = Compare([&] { return TimeStart(tav, "TAV!"); }, [&] { return TimeStart(floor, "TAV floor"); });
    Report("  against a floor without buttons", emptyBare, "window+icon+notice", kInformation);
    for (const auto &[command, windowClass, what] : {std::tuple{tav, "TAV!", "bar, empty TAV.INI"},
                                                     std::tuple{floor, "TAV floor", "floor program"}}) {
        Running r = Start(command);
        NoteMemory(r, what);
        Stop(r, windowClass);
    }

    // 400 files: a floor that extracts every icon before it shows; the bar shows once the
    // page it opens on is drawn, so it may come in under its floor.
    const struct {
        const char *start, *startFloor, *memory;
        const std::vector<Icon> &icons;
        double goal;
    } variants[] = {
        {"start, 400 slots, 400 icon files", "the same windows+section+400 extractions", "bar, 400 slots, 400 files",
         distinct, 1.0},
        {"start, 400 slots, one icon file", "the same windows+section+1 extraction", "bar, 400 slots, one file", shared,
         kGoal},
    };
    for (const auto &v : variants) {
        WriteSlots(v.icons, listFile);
        const auto start = Compare([&] { return TimeStart(tav, "TAV!"); },
                                   [&] { return TimeStart(floor + " /buttons=20 " + listFile, "TAV floor"); });
        Report(v.start, start, v.startFloor, v.goal);
        const auto bare = Compare([&] { return TimeStart(tav, "TAV!"); },
                                  [&] { return TimeStart(floor + " " + listFile, "TAV floor"); });
        Report("  against a floor without buttons", bare, "window+section+extractions+icon+notice", kInformation);
        Running bar = Start(tav);
        NoteMemory(bar, v.memory);
        Stop(bar, "TAV!");
    }

    // A reload after another program changed one entry of the 400 (400 files): against
    // reading the section, extracting that one icon and repainting 20 faces.
    WriteSlots(distinct, listFile);
    Running bar = Start(tav);
    HWND w = FindWindowA("TAV!", "TAV!");
    const FacesWindow faces;
    int turn = 0;
    const auto reload = Compare(
        [&] {
            ChangeFirstEntry(distinct, ++turn);
            return Time([&] { SendMessageA(w, WM_USER, 0, 0); });
        },
        [&] {
            return Time([&] {
                ReadSection();
                ExtractAll({distinct[static_cast<std::size_t>(turn) % distinct.size()]});
                faces.Repaint();
            });
        });
    Report("reload, one of 400 entries changed", reload, "section+1 extraction+20 faces repainted");
    Stop(bar, "TAV!");

    // What every reload of a bar of 20 pages costs whatever its slots hold: the
    // settings, a strip of blank faces, the slot buttons made again, the bar
    // placed and sized.
    WriteIni(kTwentyPagesOfTwenty);
    bar = Start(tav);
    w = FindWindowA("TAV!", "TAV!");
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
