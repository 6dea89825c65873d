// One person's way through the real TAV.EXE with the real mouse, in the language of the
// system, from the first start without TAV.INI to the next start finding all as it was left.
#include "support/win_test.h"

#include <shellapi.h>

#include <algorithm>

#include "winkit/gdi_holders.h"
#include "ini/settings_rules.h"
#include "support/probe_log.h"

using namespace tavtest;

namespace {

const char kEnv[] = "environment section", kPrograms[] = "program section";

// Whether the shell knows the bar's icon: modifying (or deleting) an unknown one fails.
bool Icon(HWND bar, DWORD action = NIM_MODIFY)
{
    NOTIFYICONDATAA nid{NOTIFYICONDATAA_V1_SIZE, bar, 0x600};
    return Shell_NotifyIconA(action, &nid) != FALSE;
}

HWND Tip() { return FindWindowA("TAV!TIPS", nullptr); }

// The tooltip's width for `text`: the text in the icon-title font (system character set), ampersands as they
// stand, and the margin.
int TipWidth(const std::string &text)
{
    LOGFONTA lf{};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    lf.lfCharSet = DEFAULT_CHARSET;
    const GdiObject<HFONT> font(CreateFontIndirectA(&lf));
    const WindowDc dc(nullptr);
    const Selection use(dc.get(), font.get());
    RECT r{};
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.right + 6;
}

// The mouse on `button` (nullptr: off the bar): the tooltip shows `text` (empty: goes) after `after` ms,
// within `within`, centred under the mouse directly below the button.
void Hover(HWND button, const std::string &text, DWORD after, DWORD within)
{
    SCOPED_TRACE(text.empty() ? "no tooltip" : text);
    ASSERT_TRUE(MouseOn(button));
    const DWORD moved = GetTickCount();
    const int width = text.empty() ? 0 : TipWidth(text);
    const auto shown = [&] { return text.empty() ? !Tip() : WindowRectOf(Tip()).right - WindowRectOf(Tip()).left == width; };
    ASSERT_TRUE(PumpUntil(shown, within));
    EXPECT_GE(GetTickCount() - moved, after);
    if (text.empty())
        return;
    const RECT b = WindowRectOf(button), r = WindowRectOf(Tip());
    EXPECT_EQ(r.left, std::max(0L, (b.left + b.right) / 2 - width / 2)) << "centred, on the screen";
    EXPECT_EQ(r.top, b.bottom);
    EXPECT_NE(GetForegroundWindow(), Tip()) << "took the focus";
}

// Button `id` of dialog `d` clicked with the mouse; true once the dialog is gone.
bool ClickAway(HWND d, int id) { return MouseOn(GetDlgItem(d, id), 1) && PumpUntil([d] { return !IsWindow(d); }); }

// The bar's dialog of this caption once it is shown, ready for the mouse: the caption tells the language.
HWND Dialog(HWND bar, const std::string &caption)
{
    return WaitForDialog(bar, [&](HWND d) { return IsWindowVisible(d) && d == FindWindowA("#32770", caption.c_str()); });
}

// Steps in file order on one bar and one TAV.INI; after a fatal failure the rest skip rather than wait.
class Journey : public ::testing::Test {
protected:
    static void TearDownTestSuite() { run.reset(), WriteIni("-"); }
    void SetUp() override { if (broken) GTEST_SKIP() << "an earlier step stopped"; }
    void TearDown() override { broken = broken || HasFatalFailure(); }
    static inline bool broken = false;
    static inline const bool ja = GetACP() == 932;  // the bar's default language follows the system's
    static inline const std::string probe = ProbePath(), dir = ProgramDir(), icons = dir + "\\tav_testicons.dll";
    // A double-byte title whose last character ends in a backslash byte, and ampersands shown as typed.
    static inline const std::string title = ja ? "\x83\x81\x83\x82 && \x95\x5c\x8e\xa6" : "Notes && Memo",
        definition = ja ? "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xcc\x93\x6f\x98\x5e" : "Program Definition",
        properties = ja ? "\x93\xae\x8d\xec\x8a\xc2\x8b\xab\x82\xcc\x90\xdd\x92\xe8" : "Properties",
        defined = icons + ",-1,,\"" + probe + "\" /journey", parked = "x,0,,C:\\NO\\SUCH.EXE",
        longTitle = std::string(3000, 'T');
    static inline const ProbeLog log;
    static inline std::unique_ptr<BarProcess> run;
    static inline HWND bar = nullptr, d = nullptr;  // d: the dialog at hand
    static inline RECT docked{};
    static inline std::string place;  // docked's corner as TAV.INI holds it
};

TEST_F(Journey, FirstStartWithoutIniShowsTheBarAndItsIcon)
{
    WriteIni("-");
    run = std::make_unique<BarProcess>(SW_SHOWMINIMIZED);  // a show command the bar does not follow
    ASSERT_TRUE(bar = run->WaitForBar());
    EXPECT_TRUE(IsWindowVisible(bar) && !IsIconic(bar) && (GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOOLWINDOW));
    // The notification icon: its clicks bring the bar forward, and it comes back when the shell restarts.
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        SetForegroundWindow(other);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
        SendMessageA(bar, 0x600, 0x600, WM_MOUSEMOVE);
        EXPECT_EQ(GetForegroundWindow(), other);
        SendMessageA(bar, 0x600, 0x600, mouse);
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == bar; }));
    }
    // Started again, it beeps and ends, and the bar comes forward, restored if it was minimized.
    for (bool minimized : {false, true}) {
        SetForegroundWindow(other);
        if (minimized)
            ShowWindow(bar, SW_MINIMIZE);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other && IsIconic(bar) == minimized; }));
        BarProcess again;
        EXPECT_EQ(again.WaitExit(), 0);
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == bar && !IsIconic(bar); })) << minimized;
    }
    DestroyWindow(other);
    ASSERT_TRUE(Icon(bar, NIM_DELETE));
    SendMessageA(bar, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Icon(bar));
}

TEST_F(Journey, DropRegistersAProgram)
{
    // The probe dropped on the first slot; a click starts it (its record is read at the end).
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1000), {probe}));
    EXPECT_TRUE(PumpUntil([&] { return IniValue(kPrograms, "profile000") == probe + ",0,,\"" + probe + "\""; }));
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000), "face 115"); })) << "its icon";
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1000), 1));
    // Two files dropped on an empty slot register nothing: a message says so, in the system's language.
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1002), {"C:\\A\\B.EXE", "C:\\A\\C.EXE"}));
    EXPECT_EQ(TakeMessageBox(bar), ja ? "\x95\xa1\x90\x94\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x88\xea\x8a\x87\x93\x6f\x98\x5e\x82\xcd"
                                        "\x83\x54\x83\x7c\x81\x5b\x83\x67\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1"
                                      : "Multi files register mode cannot support");
}

TEST_F(Journey, RightClickDefinesAProgram)
{
    // Filled in and confirmed; the slot shows the icon chosen (the first of the test icons) at once.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1001), 3));
    ASSERT_TRUE(d = Dialog(bar, definition));
    SetDlgItemTextA(d, 1006, ("\"" + probe + "\" /journey").c_str());
    SetDlgItemTextA(d, 1007, icons.c_str());
    SetDlgItemTextA(d, 1012, title.c_str());
    ASSERT_TRUE(MouseOn(GetDlgItem(d, 1005), 1));
    ASSERT_TRUE(ClickAway(d, IDOK));
    EXPECT_EQ(IniValue(kPrograms, "profile001") + "|" + IniValue(kPrograms, "Title001"), defined + "|" + title);
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1001), "face 113"); }));
}

TEST_F(Journey, HoverShowsTooltips)
{
    // The title after the delay, the next slot's command at once, gone on an empty slot; a control button's
    // name after the delay, the next one's at once; gone off the bar (id 0; seen at the next tick).
    const std::string previous = WindowText(GetDlgItem(bar, 501)), pin = WindowText(GetDlgItem(bar, 503));
    const struct { int id; std::string text; DWORD after, within; } hovers[] = {
        {1001, title, 500, 2500}, {1000, "\"" + probe + "\"", 0, 500}, {1002, "", 0, 500},
        {501, previous, 500, 2500}, {503, pin, 0, 500}, {1001, title, 0, 500}, {0, "", 0, 1600}};
    for (const auto &h : hovers)
        Hover(h.id ? GetDlgItem(bar, h.id) : nullptr, h.text, h.after, h.within);
}

TEST_F(Journey, FilesDroppedOnAProgramStartIt)
{
    // Once each, without its arguments, title or minimizing, in the bar's own folder. A click at once
    // starts it (a drop holds no click up); within two seconds neither the rest of a double click nor
    // another slot starts anything.
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1001), {"C:\\My Docs\\a.txt", "C:\\b.txt"}));
    ASSERT_EQ(log.WaitFor(3).size(), 3u);
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1001), 1));
    ASSERT_EQ(log.WaitFor(4).size(), 4u);
    // Sent, not posted: with one still pending, Wine now and then lost the Shift of the next Shift + right click.
    for (auto [id, code] : {std::pair{1001, BN_DOUBLECLICKED}, {1000, BN_CLICKED}})
        SendMessageA(bar, WM_COMMAND, MAKEWPARAM(id, code), LPARAM(GetDlgItem(bar, id)));
}

TEST_F(Journey, ReloadTakesAnotherProgramsWrites)
{
    // Twenty pages of six, the language fixed, a program titled longer than any profile buffer of the bar.
    WriteIni(ReadFileText(IniPath()) + "profile114=" + parked + "\r\nTitle114=" + longTitle +
             "\r\n[environment section]\r\nmaximum pages=20\r\nbuttons par page=6\r\nJapan=" + (ja ? "0" : "1"));
    SendMessageA(bar, WM_USER, 0, 0);
    EXPECT_EQ(SlotCount(bar), 6);
}

TEST_F(Journey, ShiftRightClickMovesAProgramToPage20)
{
    // The titled program picked up; the pin is ignored meanwhile; the page menu's last item turns
    // to page 20, whose first slot trades programs with it.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1001), 3, "shift"));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 503), 1));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 501), 3));
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    const RECT m = WindowRectOf(menu);
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(m.left + 20) + " " + std::to_string(m.bottom - 8) + " click 1"));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu); }));
    EXPECT_EQ(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "pinned while a program was picked up";
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1000), 3));
    EXPECT_TRUE(PumpUntil([&] { return IniValue(kPrograms, "profile114") == defined; }));
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000), "face 113"); })) << "the icon goes with it";
    // The turn's copy of the number's face (the digits' picture is of the English system's Arial).
    EXPECT_TRUE(ja || Shows(GetDlgItem(bar, 505), "page 20"));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 502), 1));  // on to page 1, where the long-titled program now shows
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1001), "face default"); }));
    EXPECT_EQ(IniValue(kPrograms, "Title114"), title);
    EXPECT_TRUE(IniValue(kPrograms, "profile001") + IniValue(kPrograms, "Title001") == parked + longTitle) << "whole";
}

TEST_F(Journey, PropertiesDockTheBarVertically)
{
    // The page number opens them; docked in the lower right corner.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 505), 1));
    ASSERT_TRUE(d = Dialog(bar, properties));
    SendDlgItemMessageA(d, 1013, CB_SETCURSEL, 4, 0);
    SendDlgItemMessageA(d, 1015, CB_SETCURSEL, 1, 0);
    ASSERT_TRUE(ClickAway(d, IDOK));
    docked = WindowRectOf(bar);
    EXPECT_TRUE(docked.right == GetSystemMetrics(SM_CXSCREEN) && docked.bottom == GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongA(bar, GWL_STYLE) & WS_SYSMENU, 0) << "no caption when docked";
    EXPECT_EQ(WindowRectOf(GetDlgItem(bar, 1005)).left, WindowRectOf(GetDlgItem(bar, 1000)).left) << "one column";
    EXPECT_EQ(IniValue(kEnv, "mode"), std::to_string(Vertical | 4)) << "stored at once";
}

TEST_F(Journey, PinIsStoredAndKeptByAReload)
{
    // Back from page 1 to page 20, and pinned; another program's reload keeps the pin, which is stored already.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 501), 1));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 503), 1));
    EXPECT_TRUE(PumpUntil([&] { return GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST; }));
    // Stored right after the band changes: waited for, not raced.
    EXPECT_TRUE(PumpUntil([&] { return IniValue(kEnv, "mode") == std::to_string(Vertical | Topmost | 4); }));
    SendMessageA(bar, WM_USER, 0, 0);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RedrawWindow(GetDlgItem(bar, 503), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // from the reloaded settings
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 503), "pin topmost"); }));
}

TEST_F(Journey, RunDialogStartsATypedCommand)
{
    // The system panel's last action; one that cannot start leaves the dialog up. The panel goes with the dialog.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 504), 1));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1005), 1));
    ASSERT_TRUE(d = WaitForDialog(bar, [](HWND d) { return IsWindowVisible(d) && GetDlgItem(d, 1004); }));
    SetDlgItemTextA(d, 1004, "C:\\no\\such.exe");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(IsWindowVisible(d)) << "a command that cannot start leaves the dialog up";
    EXPECT_EQ(SendDlgItemMessageA(d, 1004, CB_GETCOUNT, 0, 0), 0) << "no blank rows before anything ran";
    // Typed as on a command line: the quotes group the path, the folder is the program's.
    SetDlgItemTextA(d, 1004, ("\"" + probe + "\" /typed").c_str());
    ASSERT_TRUE(ClickAway(d, IDOK));
}

TEST_F(Journey, QuitFromThePanelSavesTheSession)
{
    // Quit, the panel's fourth action, once the panel is opened again.
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 504), 1));
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1004), 1));
    EXPECT_EQ(run->WaitExit(), 0);
    EXPECT_EQ(run->notices, (std::vector<LPARAM>{1, 0, 0, 0, 0, 0, 0, 2})) << "drop, dialog, move, properties, pin, save";
    EXPECT_FALSE(Icon(bar)) << "the icon goes with the bar";
    place = std::to_string(docked.left) + "," + std::to_string(docked.top);
    EXPECT_EQ(IniValue(kEnv, "position"), place);
    EXPECT_EQ(IniValue(kEnv, "mode") + "|" + IniValue(kEnv, "buttons par page") + "|" + IniValue(kEnv, "startup page") +
                  "|" + IniValue(kEnv, "maximum pages"),
              std::to_string(Vertical | Topmost | 4) + "|6|20|20");
}

TEST_F(Journey, NextStartFindsAllAsItWasLeft)
{
    // The same place and pin, page 20, and its first slot starts the moved program.
    run = std::make_unique<BarProcess>();
    ASSERT_TRUE(bar = run->WaitForBar());
    const RECT again = WindowRectOf(bar);
    EXPECT_TRUE(EqualRect(&again, &docked));
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1000), 1));
    // Every start, in order of its text: the dropped program (also typed, with an argument) under its path in
    // its folder, the defined one minimized under its title, the files dropped on it.
    std::vector<std::string> starts;
    for (ProbeRecord r : log.WaitFor(6))
        starts.push_back(r["cmdline"] + "|" + r["cwd"] + "|" + r["title"] + "|" + r["show"]);
    const std::string exe = FoundExecutable(probe), plain = "|" + dir + "|" + probe + "|1",
                      minimized = exe + " /journey|" + dir + "|" + title + "|2";
    std::vector<std::string> expected{exe + " " + plain, exe + " /typed" + plain, exe + " \"C:\\My Docs\\a.txt\"" + plain,
                                      exe + " \"C:\\b.txt\"" + plain, minimized, minimized};
    std::ranges::sort(starts);
    std::ranges::sort(expected);
    EXPECT_EQ(starts, expected);
}

TEST_F(Journey, RemoveTakesTheMovedProgramAway)
{
    ASSERT_TRUE(MouseOn(GetDlgItem(bar, 1000), 3));
    ASSERT_TRUE(d = Dialog(bar, definition)) << "the dialogs in the language of the file";
    char command[256] = {};  // sent for: the edit's own text is not its window's caption to another process
    GetDlgItemTextA(d, 1006, command, sizeof command);
    EXPECT_EQ(command + std::string(IsDlgButtonChecked(d, 1005) ? " minimized" : ""),
              "\"" + probe + "\" /journey minimized");
    ASSERT_TRUE(MouseOn(GetDlgItem(d, 3), 1));
    EXPECT_TRUE(PumpUntil([&] { return IniValue(kPrograms, "profile114") + IniValue(kPrograms, "Title114") == "<missing><missing>"; }));
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1000), "face blank"); }));
}

TEST_F(Journey, MinimizedBarKeepsItsPlaceAtSessionEndAndQuit)
{
    ShowWindow(bar, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(bar); }));
    WritePrivateProfileStringA(kEnv, "position", "1,1", "TAV.INI");
    EXPECT_EQ(SendMessageA(bar, WM_QUERYENDSESSION, 0, 0), TRUE) << "the session may end";
    EXPECT_EQ(IniValue(kEnv, "position"), place);
    WritePrivateProfileStringA(kEnv, "position", "1,1", "TAV.INI");
    PostMessageA(bar, WM_QUIT, 7, 0);  // which still saves
    EXPECT_EQ(run->WaitExit(), 0);
    EXPECT_EQ(IniValue(kEnv, "position"), place);
    EXPECT_EQ(run->notices, (std::vector<LPARAM>{1, 0, 0, 0, 2})) << "remove, session end, quit";
}

} // namespace
