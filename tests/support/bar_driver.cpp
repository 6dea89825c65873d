#include "support/bar_driver.h"

#include <algorithm>
#include <cstdio>

#include "support/win_test.h"

namespace tavtest {

LRESULT CALLBACK NoticeRecorder::Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    static const UINT notice = RegisterWindowMessageA("TAV_MESSAGE");
    if (m == notice) {
        if (auto *self = reinterpret_cast<NoticeRecorder *>(GetWindowLongPtrA(h, GWLP_USERDATA)))
            self->codes_.push_back(l);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

NoticeRecorder::NoticeRecorder()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TavTestNoticeRecorder";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "recorder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                            nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NoticeRecorder::~NoticeRecorder() { DestroyWindow(hwnd_); }

bool NoticeRecorder::WaitFor(LPARAM code, size_t count, DWORD ms)
{
    return PumpUntil([&] { return static_cast<size_t>(std::count(codes_.begin(), codes_.end(), code)) >= count; },
                     ms);
}

BarProcess::BarProcess(WORD showCommand)
{
    std::string cmd = "\"" + ProgramDir() + "\\TAV.EXE\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showCommand;
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        process_ = pi.hProcess;
        CloseHandle(pi.hThread);
    }
}

BarProcess::~BarProcess()
{
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT && Close(10000) < 0) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND BarProcess::WaitForBar(DWORD ms)
{
    return process_ && started_.WaitFor(1, 1, ms) ? FindBar() : nullptr;
}

int BarProcess::Close(DWORD ms)
{
    if (HWND bar = FindBar())
        PostMessageA(bar, WM_CLOSE, 0, 0);
    return WaitExit(ms);
}

int BarProcess::WaitExit(DWORD ms)
{
    return process_ ? WaitProcessPumping(process_, ms) : -1;
}

void BarTest::SetUp()
{
    ASSERT_EQ(FindBar(), nullptr) << "a bar from an earlier test still runs";
}

void BarTest::TearDown()
{
    bar_.reset();
    DeleteIni();
}

HWND BarTest::Start(const std::string &ini)
{
    WriteIni(ini);
    bar_ = std::make_unique<BarProcess>();
    HWND w = bar_->WaitForBar();
    Settle(300);
    return w;
}

HWND FindBar() { return FindWindowA("TAV!", "TAV!"); }

int SlotCount(HWND bar)
{
    int n = 0;
    for (int id = 1000; id < 1020; ++id)
        n += GetDlgItem(bar, id) != nullptr;
    return n;
}

std::vector<HWND> BarChildren(HWND bar)
{
    std::vector<HWND> out;
    for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        out.push_back(c);
    return out;
}

RECT WindowRectOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ChildRect(HWND bar, HWND child)
{
    RECT r = WindowRectOf(child);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

RECT ClientRectOnScreen(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

void PostCommand(HWND bar, int id, WORD code)
{
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(bar, id)));
}

HWND WaitForDialog(HWND owner, const std::function<bool(HWND)> &ready, DWORD ms)
{
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND b = FindWindowExA(nullptr, nullptr, "#32770", nullptr); b; b = FindWindowExA(nullptr, b, "#32770", nullptr))
                if (GetWindow(b, GW_OWNER) == owner && ready(b))
                    return (found = b) != nullptr;
            return false;
        },
        ms);
    return found;
}

std::string TakeMessageBox(HWND owner)
{
    char text[256] = {};
    // The box is up once its text is filled in.
    const HWND box = WaitForDialog(owner, [&](HWND b) { return GetDlgItemTextA(b, 0xFFFF, text, sizeof text) > 0; });
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !IsWindow(box); });  // gone before the next one is looked for
    return text;
}

void Settle(DWORD ms) { PumpFor(ms); }

bool Xdotool(const std::string &args)
{
    // xdotool is a Linux program. Wine starts it, but its process handle cannot be waited
    // on, so the shell around it leaves xdotool's exit status in a marker file to wait for.
    static int counter = 0;
    char marker[64];
    std::snprintf(marker, sizeof marker, "/tmp/tavxdo_%lu_%d", GetCurrentProcessId(), ++counter);
    std::string cmd = "Z:\\bin\\sh -c \"/usr/bin/xdotool " + args + "; echo $? > " + marker + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const std::string dosMarker = std::string("Z:") + marker;
    std::string status;
    PumpUntil([&] { return !(status = ReadFileText(dosMarker)).empty(); }, 15000);
    DeleteFileA(dosMarker.c_str());
    return status.rfind("0", 0) == 0;
}

bool MouseDrag(int fromX, int fromY, int toX, int toY)
{
    char args[256];
    std::snprintf(args, sizeof args,
                  "mousemove --sync %d %d sleep 0.1 mousedown 1 sleep 0.1 mousemove --sync %d %d sleep 0.1 "
                  "mousemove --sync %d %d sleep 0.2 mouseup 1",
                  fromX, fromY, (fromX + toX) / 2, (fromY + toY) / 2, toX, toY);
    return Xdotool(args);
}

} // namespace tavtest
