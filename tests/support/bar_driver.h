// Drives the real TAV.EXE from outside, as another program or a person
// would: starts it, listens to its "TAV_MESSAGE" broadcasts, finds its
// windows, moves the real mouse, and closes it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavtest {

// A hidden top-level window that records every "TAV_MESSAGE" code.
class NoticeRecorder {
public:
    NoticeRecorder();
    ~NoticeRecorder();
    NoticeRecorder(const NoticeRecorder &) = delete;
    NoticeRecorder &operator=(const NoticeRecorder &) = delete;

    const std::vector<LPARAM> &Codes() const { return codes_; }
    void Clear() { codes_.clear(); }
    // Pumps messages until `code` has been received `count` times in all.
    bool WaitFor(LPARAM code, size_t count = 1, DWORD ms = 10000);

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l);
    HWND hwnd_ = nullptr;
    std::vector<LPARAM> codes_;
};

// One run of TAV.EXE.
class BarProcess {
public:
    // Starts TAV.EXE (beside the test program) with the given show command.
    explicit BarProcess(WORD showCommand = SW_SHOWNORMAL);
    ~BarProcess();  // closes the bar if it still runs; kills it if it will not end
    BarProcess(const BarProcess &) = delete;
    BarProcess &operator=(const BarProcess &) = delete;

    bool Started() const { return process_ != nullptr; }
    HANDLE Process() const { return process_; }
    // The bar's window, once the bar has announced its start (code 1):
    // before that it may still be building its buttons.
    HWND WaitForBar(DWORD ms = 10000);
    // Asks the bar to close (WM_CLOSE) and waits for the process to end; returns its exit code or -1.
    int Close(DWORD ms = 15000);
    // Waits for the process to end by itself.
    int WaitExit(DWORD ms = 15000);

private:
    NoticeRecorder started_;  // listens from before the start
    HANDLE process_ = nullptr;
};

// A test that runs one TAV.EXE at a time from a TAV.INI of its own.
class BarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes `ini`, starts the bar and returns its window once it has
    // announced its start and X has had time to map it.
    HWND Start(const std::string &ini);

    std::unique_ptr<BarProcess> bar_;
};

HWND FindBar();
// How many slot buttons (ids 1000 to 1019) the bar has now.
int SlotCount(HWND bar);
// Every child of the bar with its control id, in z-order.
std::vector<HWND> BarChildren(HWND bar);
// A child's rectangle in the bar's client coordinates.
RECT ChildRect(HWND bar, HWND child);
RECT WindowRectOf(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);

// WM_COMMAND as button `id` of the bar reports a click; posted, so that a
// dialog or message box it opens cannot hold the test up.
void PostCommand(HWND bar, int id, WORD code = BN_CLICKED);
// A dialog owned by `owner` once `ready` holds for it; nullptr when none comes.
HWND WaitForDialog(HWND owner, const std::function<bool(HWND)> &ready, DWORD ms = 5000);
// The text of the message box that comes up owned by `owner`, which is then closed.
std::string TakeMessageBox(HWND owner);

// Lets X events reach every Wine window and the bar handle what they cause.
void Settle(DWORD ms = 150);

// The real mouse, through xdotool on the test display (screen coordinates).
bool Xdotool(const std::string &args);
bool MouseDrag(int fromX, int fromY, int toX, int toY);

} // namespace tavtest
