// The Program Definition dialog on a bar created in the test process, driven
// as a person would (a field's text set sends the change notice typing sends),
// with TAV.INI and the slot's strip cell read back after.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "app/main_window.h"
#include "bar/layout.h"
#include "bar/program_dialog.h"
#include "faces_pixels.h"

using namespace facetest;
using namespace tavtest;

namespace {

HWND gBar = nullptr;
std::function<void(HWND)> gScenario;

// The scenario runs once the dialog's loop is idle with the dialog shown; what it leaves open is cancelled.
LRESULT CALLBACK OnIdle(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (m->message == WM_ENTERIDLE && m->wParam == MSGF_DIALOGBOX && gScenario) {
        const HWND dlg = reinterpret_cast<HWND>(m->lParam);
        std::exchange(gScenario, nullptr)(dlg);
        if (IsWindowVisible(dlg))
            SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string Text(HWND dlg, int id)
{
    char buf[512] = {};
    return std::string(buf, GetDlgItemTextA(dlg, id, buf, sizeof buf));
}

void Press(HWND dlg, int id) { SendDlgItemMessageA(dlg, id, BM_CLICK, 0, 0); }

// "index/lowest..highest" of the scroll bar, " min" while run minimized is checked.
std::string IconState(HWND dlg)
{
    int lo = -1, hi = -1;
    GetScrollRange(GetDlgItem(dlg, 1010), SB_CTL, &lo, &hi);
    return std::to_string(GetScrollPos(GetDlgItem(dlg, 1010), SB_CTL)) + "/" + std::to_string(lo) + ".." +
           std::to_string(hi) + (IsDlgButtonChecked(dlg, 1005) ? " min" : "");
}

class ProgramDialog : public ::testing::Test {
protected:
    const std::string icons_ = IconLibrary();  // four icons
    const std::string spaced_ = "C:\\tav dlg\\app icons.dll";
    HHOOK hook_ = SetWindowsHookExA(WH_CALLWNDPROC, OnIdle, nullptr, GetCurrentThreadId());

    void SetUp() override
    {
        CreateDirectoryA("C:\\tav dlg", nullptr);
        ASSERT_TRUE(CopyFileA(icons_.c_str(), spaced_.c_str(), FALSE));
        ASSERT_TRUE(RegisterBarClasses(GetModuleHandleA(nullptr)));
        gBar = CreateBar(GetModuleHandleA(nullptr));
        ShowWindow(gBar, SW_SHOWNORMAL);
    }
    void TearDown() override
    {
        DestroyWindow(gBar);
        UnhookWindowsHookEx(hook_);
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {}  // the WM_QUIT of the teardown
        UnregisterBarClasses(GetModuleHandleA(nullptr));
        WriteIni("-");
        DeleteFileA(spaced_.c_str());
        RemoveDirectoryA("C:\\tav dlg");
    }

    // Slot 3 with these keys, then the dialog on it; returns how it ended.
    INT_PTR Open(const std::string &keys, std::function<void(HWND)> scenario)
    {
        WriteIni("[program section]\r\n" + keys);
        gScenario = std::move(scenario);
        return OpenProgramDefinition(gBar, 3, gButtons.slots[3]);
    }
};

TEST_F(ProgramDialog, EmptySlotRegistersAProgram)
{
    EXPECT_EQ(Open("", [&](HWND dlg) {
        EXPECT_EQ(IconState(dlg), "0/0..0");
        RECT r{};
        GetWindowRect(GetDlgItem(dlg, 1008), &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        MemoryCanvas want(w, h), shown(w, h);
        const RECT all{0, 0, w, h};
        FillRect(want.dc(), &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        DrawIcon(want.dc(), w / 2 - 16, h / 2 - 16, ResourceIcon(IDI_DEFAULT_PROGRAM));
        EXPECT_TRUE(PumpUntil([&] {
            CaptureScreen(r, shown);
            return shown.Differences(want, {1, 1, w - 1, h - 1}, 1, 1) == 0 && shown.At(0, 0) != kLightGrey;
        })) << "the default program icon on light grey, in the system's frame";

        SetDlgItemTextA(dlg, 1006, ("\"" + spaced_ + "\" -x").c_str());
        EXPECT_EQ(Text(dlg, 1007), spaced_);
        EXPECT_EQ(IconState(dlg), "0/0..3");  // every icon of a file under a folder with spaces
        SendMessageA(dlg, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 1010)));
        EXPECT_EQ(IconState(dlg), "3/0..3");
        Press(dlg, 1005);
        Press(dlg, IDOK);
    }), IDOK);
    EXPECT_EQ(IniValue(kProgramSection, "profile003"), spaced_ + ",-4,,\"" + spaced_ + "\" -x");
    EXPECT_EQ(IniValue(kProgramSection, "Title003"), "");
}

TEST_F(ProgramDialog, StoredSlotOkRemoveAndCancel)
{
    const std::string a = icons_ + ",-3,C:\\APP,\"C:\\APP\\A.EXE\" /q", none = "C:\\NONE.EXE,-3,,X /q";
    // Stored value, state at opening, button pressed, stored value and face (0: blank) afterwards.
    const struct { std::string value, state; int press; std::string stored; int icon; } cases[] = {
        {a, "2/0..3 min", IDOK, a, 115},
        {none, "0/0..0 min", IDOK, "C:\\NONE.EXE,-1,,X /q", IDI_DEFAULT_PROGRAM},
        {a, "2/0..3 min", IDCANCEL, a, IDI_DEFAULT_PROGRAM},
        {a, "2/0..3 min", 3, "<missing>", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value + " " + std::to_string(c.press));
        EXPECT_EQ(Open("profile003=" + c.value + "\r\nTitle003=T\r\n", [&](HWND dlg) {
            EXPECT_EQ(IconState(dlg), c.state);
            Press(dlg, c.press);
        }), c.press);
        EXPECT_EQ(IniValue(kProgramSection, "profile003"), c.stored);
        EXPECT_EQ(IniValue(kProgramSection, "Title003"), c.press == 3 ? "<missing>" : "T");
        EXPECT_EQ(StripCellWrong(3, c.icon ? ResourceIcon(c.icon) : nullptr), 0);
    }
}

} // namespace
