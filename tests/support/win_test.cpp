#include "support/win_test.h"

#include <algorithm>
#include <fstream>
#include <shlobj.h>
#include <map>
#include <iterator>
#include <ranges>
#include <sstream>

namespace tavtest {

std::string IniPath() { return WindowsDir() + "\\TAV.INI"; }

std::string StoreIniPath()
{
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    return local + ("\\VirtualStore" + WindowsDir().substr(2)) + "\\TAV.INI";
}

void WriteIni(const std::string &text)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "TAV.INI");  // all null: flush and forget the file
    DeleteFileA(StoreIniPath().c_str());  // a per-user copy left behind would be read instead
    if (text == "-")
        DeleteFileA(IniPath().c_str());
    else
        std::ofstream(IniPath(), std::ios::binary) << text;
}

std::string ReadFileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string IniValue(const char *section, const char *key)
{
    char buf[4096] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, "TAV.INI");
    return buf;
}

std::string ProgramDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path).substr(0, std::string(path).find_last_of('\\'));
}

std::wstring Wide(const std::string &text, UINT codePage)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), int(wide.size())));
    return wide;
}

std::string Narrow(const std::wstring &wide, UINT codePage)
{
    std::string text(wide.size() * 3, '\0');
    text.resize(WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), text.data(), int(text.size()), nullptr,
                                    nullptr));
    return text;
}

bool PumpUntil(const std::function<bool()> &pred, DWORD ms)
{
    for (const DWORD start = GetTickCount(); !pred();) {
        if (GetTickCount() - start >= ms)
            return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            TranslateMessage(&msg), DispatchMessageA(&msg);
    }
    return true;
}

LRESULT CALLBACK BarProcess::Recorder(HWND h, UINT m, WPARAM w, LPARAM l)
{
    static const UINT notice = RegisterWindowMessageA("TAV_MESSAGE");
    if (auto *self = reinterpret_cast<BarProcess *>(GetWindowLongPtrA(h, GWLP_USERDATA)); self && m == notice)
        self->notices.push_back(l);
    return m == notice ? 0 : DefWindowProcA(h, m, w, l);
}

BarProcess::BarProcess(WORD showCommand)
{
    const WNDCLASSA wc{0, Recorder, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TavTestNoticeRecorder"};
    RegisterClassA(&wc);
    recorder_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(recorder_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    std::string cmd = "\"" + ProgramDir() + "\\TAV.EXE\"";
    STARTUPINFOA si{.cb = sizeof(STARTUPINFOA), .dwFlags = STARTF_USESHOWWINDOW, .wShowWindow = showCommand};
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        process_ = pi.hProcess;
        CloseHandle(pi.hThread);
    }
}

BarProcess::~BarProcess()
{
    if (process_ && Close() < 0)
        TerminateProcess(process_, 99);
    CloseHandle(process_);
    DestroyWindow(recorder_);
}

HWND BarProcess::WaitForBar()
{
    const bool started = process_ && PumpUntil([&] { return std::count(notices.begin(), notices.end(), 1); });
    return started ? FindWindowA("TAV!", "TAV!") : nullptr;
}

int BarProcess::Close()
{
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
        PostMessageA(FindWindowA("TAV!", "TAV!"), WM_CLOSE, 0, 0);
    return WaitExit();
}

int BarProcess::WaitExit()
{
    // Pumping all along: the bar's broadcasts wait for this thread's windows.
    DWORD code = 0;
    const bool ended = PumpUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, 15000);
    return ended && GetExitCodeProcess(process_, &code) ? static_cast<int>(code) : -1;
}

int SlotCount(HWND bar)
{
    return int(std::ranges::count_if(std::views::iota(1000, 1020), [bar](int id) { return GetDlgItem(bar, id); }));
}

HWND WaitForDialog(HWND owner, const std::function<bool(HWND)> &ready, DWORD ms)
{
    HWND found = nullptr;
    PumpUntil([&] {
        for (HWND b = nullptr; (b = FindWindowExA(nullptr, b, "#32770", nullptr));)
            if (GetWindow(b, GW_OWNER) == owner && ready(b))
                return (found = b) != nullptr;
        return false;
    }, ms);
    return found;
}

bool Dismiss(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, button, 0);
    return PumpUntil([&] { return !IsWindow(dialog); });
}

std::wstring AnswerBox(HWND owner, int button)
{
    // The box is up once its text is filled in.
    const HWND box = WaitForDialog(owner, [](HWND b) { return GetWindowTextLengthW(GetDlgItem(b, 0xFFFF)) > 0; });
    std::wstring text(1024, L'\0');
    text.resize(GetDlgItemTextW(box, 0xFFFF, text.data(), static_cast<int>(text.size())));
    Dismiss(box, button);  // gone before the next one is looked for
    return text;
}

std::string TakeMessageBox(HWND owner) { return Narrow(AnswerBox(owner, IDOK)); }

std::string UnixPath(const std::string &windowsPath)
{
    char prefix[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    const bool z = windowsPath.size() > 1 && (windowsPath[0] == 'Z' || windowsPath[0] == 'z') && windowsPath[1] == ':';
    std::string path = (z ? std::string() : prefix + std::string("/drive_c")) + windowsPath.substr(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool Immutable(const std::string &windowsPath, bool on)
{
    const std::string path = UnixPath(windowsPath);
    return RunLinux("[ ! -e '" + path + "' ] || /usr/bin/chattr " + (on ? "+i '" : "-i '") + path + "'");
}

bool Xdotool(const std::string &args) { return RunLinux("/usr/bin/xdotool " + args); }

bool RunLinux(const std::string &command)
{
    // A Linux program started from Wine cannot be waited on: the shell around
    // it leaves the exit status in a marker file to wait for instead.
    static int counter = 0;
    const std::string marker = "/tmp/tavrun_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    std::string cmd = "Z:\\bin\\sh -c \"" + command + "; echo $? > " + marker + "\"";
    STARTUPINFOA si{.cb = sizeof(STARTUPINFOA)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string status;
    PumpUntil([&] { return !(status = ReadFileText("Z:" + marker)).empty(); }, 15000);
    DeleteFileA(("Z:" + marker).c_str());
    return status.rfind("0", 0) == 0;
}

bool MouseOn(HWND window, int button, const std::string &keys)
{
    const RECT r = window ? WindowRectOf(window) : RECT{600, 600, 600, 600};
    const std::string hold = keys.empty() ? "" : " keydown " + keys, release = keys.empty() ? "" : " keyup " + keys;
    // No --sync: it would wait for ever when the pointer is already there.
    return Xdotool("mousemove " + std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2) +
                   (button ? " sleep 0.1" + hold + " click " + std::to_string(button) + release : ""));
}

MemoryCanvas::MemoryCanvas(int w, int h) : width(w), height(h), dc_(CreateCompatibleDC(nullptr))
{
    const BITMAPINFO bi{{sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // top-down
    void *bits = nullptr;
    old_ = SelectObject(dc_, CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t *>(bits);
    std::fill(bits_, bits_ + w * h, 0xFF00FF);
}

MemoryCanvas::~MemoryCanvas()
{
    DeleteObject(SelectObject(dc_, old_));
    DeleteDC(dc_);
}

COLORREF MemoryCanvas::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    GdiFlush();
    const std::uint32_t p = bits_[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int MemoryCanvas::Count(COLORREF c, const RECT &r) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += At(x, y) == c;
    return n;
}

COLORREF FaceColour(char c)
{
    const int i = c == 'r' ? 1 : c == 'g' ? 2 : c == 'b' ? 4 : c <= '9' ? c - '0' : c - 'A' + 10;
    const int on = c >= 'a' || i == 7 ? 192 : i > 8 ? 255 : 128;
    return i == 7 || i == 8 ? RGB(on, on, on) : RGB(i & 1 ? on : 0, i & 2 ? on : 0, i & 4 ? on : 0);
}

std::string PictureDiff(const MemoryCanvas &canvas, int x, int y, const std::string &name,
                        const std::function<COLORREF(char)> &legend)
{
    // pictures.txt: "= name" opens a picture, the lines after it are its rows;
    // a run of names shares the rows that follow; '#' starts a comment line.
    static const auto pictures = [] {
        std::map<std::string, std::vector<std::string>> all;
        std::istringstream in(ReadFileText(ProgramDir() + "\\pictures.txt"));
        std::vector<std::string> names;
        bool naming = false;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("= ", 0) == 0) {
                names.resize(naming ? names.size() : 0);
                names.push_back(line.substr(2));
                naming = true;
            } else if (!line.empty() && line[0] != '#') {
                for (const auto &name : names)
                    all[name].push_back(line);
                naming = false;
            }
        return all;
    }();
    const auto found = pictures.find(name);
    std::string wrong = found == pictures.end() ? "no picture " + name : "";
    for (int j = 0; wrong.empty() && j < static_cast<int>(found->second.size()); ++j)
        for (int i = 0; wrong.empty() && i < static_cast<int>(found->second[j].size()); ++i)
            // A button narrower than its picture shows only its part: the rest is not compared.
            if (const char want = found->second[j][i];
                want != '.' && canvas.At(x + i, y + j) != CLR_INVALID && canvas.At(x + i, y + j) != legend(want))
                wrong = name + ": pixel " + std::to_string(i) + "," + std::to_string(j) + " is not '" + want + "'";
    return wrong;
}

bool Shows(HWND button, const std::string &name)
{
    const RECT b = WindowRectOf(button);
    MemoryCanvas canvas(b.right - b.left, b.bottom - b.top);
    const HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, canvas.width, canvas.height, screen, b.left, b.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return PictureDiff(canvas, 0, 0, name, FaceColour).empty();
}

} // namespace tavtest
