// From starting TAV.EXE to a visible bar ("TAV_MESSAGE" code 1 received),
// with an empty TAV.INI and with 400 registered slots, against its floor: a
// minimal program that registers a class, creates and shows one window and
// broadcasts the same message. Also the WM_USER reload round trip with 400
// slots, against the floor of reading the same 400 keys.
#include <windows.h>

#include <cstdio>
#include <string>
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

// Starts `program`, waits for code 1, then closes its window and waits for it to end.
double TimeStart(const std::string &program, const char *windowClass)
{
    std::string cmd = "\"" + program + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    gStarted = false;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    PumpUntil(pi.hProcess, [] { return gStarted; });
    const double elapsed = NowMs() - start;
    if (HWND w = FindWindowA(windowClass, nullptr))
        PostMessageA(w, WM_CLOSE, 0, 0);
    PumpUntil(pi.hProcess, [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; });
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return gStarted ? elapsed : -1;
}

std::string FourHundredSlots()
{
    std::string text = "[environment section]\r\nmaximum pages=20\r\nbuttons par page=20\r\n[program section]\r\n";
    for (int n = 0; n < 400; ++n) {
        char line[96];
        std::snprintf(line, sizeof line, "profile%03d=C:\\windows\\notepad.exe,0,,notepad.exe\r\nTitle%03d=Note %d\r\n",
                      n, n, n);
        text += line;
    }
    return text;
}

} // namespace

int main()
{
    const IniBackup keep;
    gNotice = RegisterWindowMessageA("TAV_MESSAGE");
    WNDCLASSA wc{};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TAV bench listener";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);

    const std::string tav = ProgramDir() + "\\TAV.EXE";
    const std::string floor = ProgramDir() + "\\floor_window.exe";
    std::printf("start to visible bar, median of %d runs\n", kRuns);
    const double floorMs = Median([&] { TimeStart(floor, "TAV floor"); });

    WriteIni("");
    Report("empty TAV.INI", Median([&] { TimeStart(tav, "TAV!"); }), "one window", floorMs);
    WriteIni(FourHundredSlots());
    Report("400 registered slots", Median([&] { TimeStart(tav, "TAV!"); }), "one window", floorMs);

    // Reload round trip on a running bar with 400 slots.
    std::string cmd = "\"" + tav + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    gStarted = false;
    if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        PumpUntil(pi.hProcess, [] { return gStarted; });
        HWND bar = FindWindowA("TAV!", "TAV!");
        const double reload = Median([&] { SendMessageA(bar, WM_USER, 0, 0); });
        const double reads = Median([] {
            std::vector<char> value(2048);
            for (int n = 0; n < 400; ++n) {
                char key[16];
                std::snprintf(key, sizeof key, "profile%03d", n);
                GetPrivateProfileStringA("program section", key, "", value.data(), 2048, "TAV.INI");
            }
        });
        Report("WM_USER reload, 400 slots", reload, "400 key reads", reads);
        PostMessageA(bar, WM_CLOSE, 0, 0);
        PumpUntil(pi.hProcess, [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; });
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    return 0;
}
