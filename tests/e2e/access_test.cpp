// What a screen reader finds on the real TAV.EXE: every button's window text, kept current as the page and the
// face change, and the panel cells' tooltips; Japanese on a Western system; and the bar from the keyboard alone.
#include "support/win_test.h"

#include "support/probe_log.h"

using namespace tavtest;

namespace {

std::string Text(HWND bar, int id) { return WindowText(GetDlgItem(bar, id)); }

using Access = BarTest;

TEST_F(Access, ButtonsAreNamedForWhatTheyDoAndShow)
{
    ASSERT_TRUE(Start("[environment section]\r\nbuttons par page=5\r\nmaximum pages=2\r\nJapan=1\r\n"
                            "[program section]\r\nprofile000=a.ico,0,C:\\,C:\\TOOLS\\EDIT.EXE\r\nTitle000=Editor\r\n"
                            "profile001=a.ico,-1,,\"C:\\My Tools\\calc.exe\" /x\r\nprofile005=a.ico,0,,C:\\MAIL.EXE\r\n"));
    const struct { int id; const char *name; } first[] = {
        {1000, "Editor"}, {1001, "calc.exe"}, {1002, ""}, {501, "Previous page"}, {502, "Next page"},
        {503, "Keep on top"}, {504, "System panel"}, {505, "Page 1 (Properties)"}};
    for (const auto &c : first)
        EXPECT_EQ(Text(bar, c.id), c.name) << c.id;

    // A swap moves the name with the program.
    SendMessageA(GetDlgItem(bar, 1000), WM_RBUTTONDOWN, MK_SHIFT, 0);
    SendMessageA(GetDlgItem(bar, 1002), WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(Text(bar, 1000) + "|" + Text(bar, 1002), "|Editor");

    SendMessageA(bar, WM_COMMAND, 502, 0);
    EXPECT_EQ(Text(bar, 1000) + "|" + Text(bar, 1001) + "|" + Text(bar, 505), "MAIL.EXE||Page 2 (Properties)");

    // The panel's cells are named for their actions, and so are their tooltips.
    SendMessageA(bar, WM_COMMAND, 504, 0);
    EXPECT_EQ(Text(bar, 1000) + "|" + Text(bar, 1001) + "|" + Text(bar, 1002) + "|" + Text(bar, 1003) + "|" +
              Text(bar, 1004), "Shut down Windows|Log off|Restart|Quit TAV!|Run a command");
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1003)));
    EXPECT_TRUE(PumpUntil([] { return FindWindowA("TAV!TIPS", nullptr) != nullptr; }, 3000)) << "no tooltip";
    SendMessageA(bar, WM_COMMAND, 504, 0);
    EXPECT_EQ(Text(bar, 1000), "MAIL.EXE");
}

std::wstring WideText(HWND w) { wchar_t t[256] = {}; return {t, size_t(GetWindowTextW(w, t, 256))}; }

// The Japanese bar on this system's Western code page: the names and a dialog read in Japanese.
TEST_F(Access, JapaneseReadsAsSuchOnAWesternSystem)
{
    ASSERT_NE(GetACP(), 932u) << "a test of the Western code page";
    HWND d;
    ASSERT_TRUE(Start("[environment section]\r\nJapan=0\r\nmaximum pages=2\r\n"));
    EXPECT_EQ(WideText(GetDlgItem(bar, 503)), L"\u5e38\u306b\u624b\u524d\u306b\u8868\u793a");  // keep on top
    EXPECT_EQ(WideText(GetDlgItem(bar, 505)), L"1 \u30da\u30fc\u30b8 (\u30d7\u30ed\u30d1\u30c6\u30a3)");
    // The Properties dialog: its own texts and its lists.
    PostMessageA(bar, WM_COMMAND, 505, 0);
    ASSERT_TRUE(d = WaitForDialog(bar, 1013));
    EXPECT_EQ(WideText(d), L"\u52d5\u4f5c\u74b0\u5883\u306e\u8a2d\u5b9a");
    wchar_t corner[64] = {};
    SendDlgItemMessageW(d, 1013, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(corner));
    EXPECT_STREQ(corner, L"(\u8a2d\u5b9a\u3057\u306a\u3044)");
    ASSERT_TRUE(Dismiss(d, IDCANCEL));
}

HWND Focus(HWND bar) { return ThreadInfo(bar).hwndFocus; }

// The keys, then the hot key as real keys on the display, from a window of this program's (a hot key is seen while
// a Wine window has the keyboard): the bar comes forward with its first slot focused and marked, a second press gives
// the foreground back; a reload to none lets the key go; a key another program holds is told of once.
TEST_F(Access, KeysAndTheHotKeyReachEveryButtonAndTheMouseSeesNoFocusMark)
{
    ProbeLog log;
    const std::string programs = "[program section]\r\nprofile000=x,0,," + ProbePath() + "\r\n";
    HWND dialog;
    ASSERT_TRUE(Start("[environment section]\r\nbuttons par page=5\r\nmaximum pages=1\r\nJapan=1\r\n"
                            "hot key=ctrl + alt + t\r\n" + programs));
    const HWND first = GetDlgItem(bar, 1000), slot1 = GetDlgItem(bar, 1001), previous = GetDlgItem(bar, 501);
    // A click gives the button the focus, but a bar used with the mouse shows no mark.
    ASSERT_TRUE(MouseOn(previous, 1));
    ASSERT_TRUE(PumpUntil([&] { return Focus(bar) == previous; }));
    Settle();
    EXPECT_TRUE(Shows(previous, "previous page"));

    PostMessageA(bar, 0x600, 0, WM_LBUTTONDOWN);  // the notification icon
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == bar; }));
    ASSERT_TRUE(Xdotool("key Left Left Left Left Left"));  // back over the slots, wrapping nowhere yet
    ASSERT_TRUE(PumpUntil([&] { return Focus(bar) == first; }));
    ASSERT_TRUE(Xdotool("key Return"));
    EXPECT_EQ(log.WaitFor(1).size(), 1u) << "Enter starts the slot's program";

    ASSERT_TRUE(Xdotool("key Right"));
    ASSERT_TRUE(PumpUntil([&] { return Focus(bar) == slot1; }));
    Settle();
    EXPECT_FALSE(Shows(slot1, "face blank")) << "no focus mark once keys are used";
    ASSERT_TRUE(Xdotool("key Menu"));
    ASSERT_TRUE(dialog = WaitForDialog(bar, [](HWND d) { return IsWindowVisible(d) != FALSE; })) << "the menu key opens the slot's Program Definition";
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));

    // Esc leaves move mode.
    ASSERT_TRUE(MouseOn(slot1, 3, "shift"));
    const HWND slot3 = GetDlgItem(bar, 1003);
    ASSERT_TRUE(PumpUntil([&] { return Shows(slot3, "face blank hatched"); }));
    ASSERT_TRUE(Xdotool("key Escape"));
    EXPECT_TRUE(PumpUntil([&] { return Shows(slot3, "face blank"); }));

    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 300, 100, 50, nullptr,
                                       nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
    ASSERT_TRUE(Xdotool("key ctrl+alt+t"));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == bar && Focus(bar) == first; }));
    Settle();
    EXPECT_FALSE(Shows(first, "face blank")) << "the focus mark shows";
    ASSERT_TRUE(Xdotool("key ctrl+alt+t"));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; })) << "the foreground given back";
    ShowWindow(bar, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(bar) != FALSE; }));
    ASSERT_TRUE(Xdotool("key ctrl+alt+t"));
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(bar) && GetForegroundWindow() == bar && Focus(bar) == first; }))
        << "restored";

    // A reload to none lets the key go: this program can take it, and the bar is told so at the next reload.
    WriteIni("[environment section]\r\nhot key=none\r\n" + programs);
    SendMessageA(bar, WM_USER, 0, 0);
    ASSERT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'T'));
    WriteIni("[environment section]\r\nhot key=Ctrl+Alt+T\r\n" + programs);
    SendMessageA(bar, WM_USER, 0, 0);
    EXPECT_NE(TakeMessageBox(bar).find("Ctrl+Alt+T"), std::string::npos) << "the bar tells of it";
    // Told once: not again at a reload that changes nothing. The setting stays for the next start.
    SendMessageA(bar, WM_USER, 0, 0);
    EXPECT_FALSE(PumpUntil([&] { return !IsWindowEnabled(bar); }, 1000)) << "a second box";
    EXPECT_EQ(bar_->Close(), 0);
    EXPECT_EQ(IniValue("environment section", "hot key"), "Ctrl+Alt+T");
    UnregisterHotKey(other, 1);
    DestroyWindow(other);
}

} // namespace
