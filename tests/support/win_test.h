// What the Windows tests share: TAV.INI, bounded pumping waits, the real TAV.EXE and mouse, and pixels.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavtest {

// The system's folders, without a closing backslash.
inline std::string WindowsDir() { char d[MAX_PATH] = {}; return std::string(d, GetWindowsDirectoryA(d, MAX_PATH)); }
inline std::string SystemDir() { char d[MAX_PATH] = {}; return std::string(d, GetSystemDirectoryA(d, MAX_PATH)); }
inline std::string TempDir() { char d[MAX_PATH] = {}; return std::string(d, GetTempPathA(MAX_PATH, d) - 1); }
std::string IniPath();
std::string StoreIniPath();  // the per-user copy under %LOCALAPPDATA%\VirtualStore
void WriteIni(const std::string &text);  // "-": no file; the profile cache is dropped either way
std::string ReadFileText(const std::string &path);
std::string IniValue(const char *section, const char *key);  // "<missing>" when absent
std::string ProgramDir();  // this program's, where TAV.EXE, probe.exe and the test data stand
// Pumps messages until pred() holds or ms elapse; returns pred()'s last value.
bool PumpUntil(const std::function<bool()> &pred, DWORD ms = 5000);
inline RECT WindowRectOf(HWND window) { RECT r{}; GetWindowRect(window, &r); return r; }
inline std::string WindowText(HWND w) { char t[256] = {}; return {t, size_t(GetWindowTextA(w, t, 256))}; }
// The focus, capture and move-or-size state of the thread that owns `window`.
inline GUITHREADINFO ThreadInfo(HWND window)
{
    GUITHREADINFO info{sizeof(GUITHREADINFO)};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}
// Text between a code page (the system's, or CP_UTF8) and UTF-16.
std::wstring Wide(const std::string &text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring &wide, UINT codePage = CP_ACP);

// One run of TAV.EXE, closed (or ended) with the holder; records every "TAV_MESSAGE" code it sends.
class BarProcess {
public:
    explicit BarProcess(WORD showCommand = SW_SHOWNORMAL);
    ~BarProcess();
    HWND WaitForBar();  // once it has announced its start (code 1); nullptr otherwise
    int Close();        // WM_CLOSE, then the exit code (-1: it did not end)
    int WaitExit();
    HANDLE Process() const { return process_; }
    std::vector<LPARAM> notices;

private:
    static LRESULT CALLBACK Recorder(HWND h, UINT m, WPARAM w, LPARAM l);
    HWND recorder_;
    HANDLE process_ = nullptr;
};

// Each test starts its bar from a TAV.INI of its own and leaves none running.
class BarTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FindWindowA("TAV!", "TAV!"), nullptr) << "a bar still runs"; }
    void TearDown() override { bar_.reset(), WriteIni("-"); }
    HWND Start(const std::string &ini)
    {
        WriteIni(ini);
        bar_ = std::make_unique<BarProcess>();
        return bar = bar_->WaitForBar();
    }
    std::unique_ptr<BarProcess> bar_;
    HWND bar = nullptr;  // as Start found it
};

int SlotCount(HWND bar);  // slot buttons 1000 to 1019
// Lets the windows handle what their last action caused.
inline void Settle(DWORD ms = 150) { PumpUntil([] { return false; }, ms); }
// A dialog owned by `owner` once `ready` holds for it; nullptr when none comes.
HWND WaitForDialog(HWND owner, const std::function<bool(HWND)> &ready, DWORD ms = 5000);
inline HWND WaitForDialog(HWND owner, int control)  // a visible one holding `control`
{ return WaitForDialog(owner, [control](HWND d) { return IsWindowVisible(d) && GetDlgItem(d, control); }); }
// `button` pressed in `dialog`; true once the dialog is gone.
bool Dismiss(HWND dialog, int button);
// The text of the message box that comes up owned by `owner`, once `button` has closed it.
std::wstring AnswerBox(HWND owner, int button);
std::string TakeMessageBox(HWND owner);  // the same, as the code page writes it, closed with OK

// A Linux command line run through /bin/sh; true when it ended with 0.
bool RunLinux(const std::string &command);
// A Windows path as Linux names it (a Z: path, or a file of the prefix's C:).
std::string UnixPath(const std::string &windowsPath);
// A file made unchangeable (on: not even root, as the tests run, writes it) or changeable again.
bool Immutable(const std::string &windowsPath, bool on);
// The real mouse through xdotool on the test display; true when it ran.
bool Xdotool(const std::string &args);
// The real mouse to the middle of `window` (nullptr: off the bar), `button` clicked (0: none) with `keys` held.
bool MouseOn(HWND window, int button = 0, const std::string &keys = "");

// A top-down 32-bit DIB section in a memory DC, prefilled with magenta (kUnpainted), which no painter uses.
constexpr COLORREF kUnpainted = RGB(255, 0, 255);
struct MemoryCanvas {
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const;  // CLR_INVALID outside
    int Count(COLORREF c, const RECT &r) const;
    const int width, height;

private:
    HDC dc_;
    HGDIOBJ old_;
    std::uint32_t *bits_ = nullptr;
};

// The faces' legend: the 16 VGA colours as hex digits (bit 0 red, 1 green, 2 blue, 8 and up bright; 7 and 8
// the greys); r, g, b the dark red, green and blue that shrinking a face leaves.
COLORREF FaceColour(char c);

// The canvas at (x, y) against the picture `name` of pictures.txt, each character the colour legend(c)
// gives ('.': not compared): empty when they match, else the first pixel that does not.
std::string PictureDiff(const MemoryCanvas &canvas, int x, int y, const std::string &name,
                        const std::function<COLORREF(char)> &legend);

// Whether `button` shows the face `name` of pictures.txt on the screen.
bool Shows(HWND button, const std::string &name);

} // namespace tavtest
