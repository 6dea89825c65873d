// The frame's non-client messages on real windows, driven with SendMessage.
#include "win/caption_test.h"

#include <windowsx.h>

using namespace captiontest;

namespace {

const DWORD kExampleStyle = kFrameStyle | kAllBoxes | CaptionStyleHorizontal;

std::string Str(const RECT &r)
{
    char s[64];
    std::snprintf(s, sizeof s, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return s;
}

LRESULT HitTest(HWND window, int x, int y)
{
    return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
}

TEST(CaptionFrame, CreationSetsPropertiesClearsDialogFrameAndShrinksClient)
{
    ASSERT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    struct Case {
        DWORD style;
        bool vertical;
    };
    for (const Case &c : {Case{kExampleStyle, false}, Case{kFrameStyle | kAllBoxes | CaptionStyleVertical, true}}) {
        SCOPED_TRACE(c.vertical ? "vertical" : "horizontal");
        Frame f(c.style, 100, 50, 200, 60);
        EXPECT_EQ(Prop(f.hwnd(), "ibSize"), 10);
        EXPECT_TRUE(HasProp(f.hwnd(), "ibFlag"));
        EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 0);
        EXPECT_EQ(f.style() & WS_DLGFRAME, 0u);
        EXPECT_EQ(f.style() & WS_BORDER, static_cast<DWORD>(WS_BORDER));

        // The client area begins right after the caption, inside the sizing frame.
        RECT caption;
        ASSERT_TRUE(GetCaptionRect(f.hwnd(), &caption));
        POINT origin{0, 0};
        ClientToScreen(f.hwnd(), &origin);
        RECT client;
        GetClientRect(f.hwnd(), &client);
        if (c.vertical) {
            EXPECT_EQ(origin.x, caption.right);
            EXPECT_EQ(origin.y, caption.top);
            EXPECT_EQ(client.right, 200 - 8 - 10);
            EXPECT_EQ(client.bottom, 60 - 8);
        } else {
            EXPECT_EQ(origin.x, caption.left);
            EXPECT_EQ(origin.y, caption.bottom);
            EXPECT_EQ(origin.y, 50 + 4 + 10);
            EXPECT_EQ(client.right, 200 - 8);
            EXPECT_EQ(client.bottom, 60 - 8 - 10);
        }
        DestroyWindow(f.hwnd());
        EXPECT_FALSE(f.log().propertiesAfterNcDestroy);
    }

    // Without a caption bit the dialog frame stays and the system's caption with it.
    Frame plain(kFrameStyle | kAllBoxes, 100, 50, 200, 60);
    EXPECT_EQ(plain.style() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    RECT caption;
    EXPECT_FALSE(GetCaptionRect(plain.hwnd(), &caption));
    EXPECT_TRUE(IsRectEmpty(&caption));
}

TEST(CaptionFrame, RectangleOperationsOfTheExampleWindow)
{
    // The layout's rules are tested on the host; here, that the window's own
    // rectangle and metrics reach it.
    Frame f(kExampleStyle, 100, 50, 200, 40);
    ASSERT_EQ(Str(f.windowRect()), "(100, 50)-(300, 90)");
    Frame none(kFrameStyle | kAllBoxes, 100, 50, 200, 40);  // no caption bit: nothing exists
    const struct {
        BOOL (*op)(HWND, RECT *);
        const char *rect;
    } cases[] = {
        {GetCaptionRect, "(104, 54)-(296, 64)"},
        {GetSysMenuBoxRect, "(104, 54)-(113, 63)"},
        {GetMaximizeBoxRect, "(287, 54)-(296, 64)"},
        {GetMinimizeBoxRect, "(277, 54)-(286, 64)"},
    };
    RECT r;
    for (const auto &c : cases) {
        EXPECT_TRUE(c.op(f.hwnd(), &r));
        EXPECT_EQ(Str(r), c.rect);
        r = RECT{1, 2, 3, 4};
        EXPECT_FALSE(c.op(none.hwnd(), &r)) << c.rect;
        EXPECT_TRUE(IsRectEmpty(&r));
    }
    EXPECT_TRUE(GetCaptionBoxRect(f.hwnd(), 2, &r));
    EXPECT_EQ(Str(r), "(277, 54)-(286, 64)");
    EXPECT_FALSE(GetCaptionBoxRect(none.hwnd(), 1, &r));
}

TEST(CaptionFrame, HitTestOnARealWindow)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    ShowWindow(f.hwnd(), SW_SHOWNOACTIVATE);
    struct Case {
        int x, y;
        LRESULT hit;
    };
    const Case cases[] = {
        {105, 55, HTSYSMENU}, {108, 63, HTCAPTION}, {290, 60, HTMAXBUTTON}, {280, 60, HTMINBUTTON},
        {286, 60, HTCAPTION}, {200, 70, HTCLIENT},  {200, 59, HTCAPTION},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HitTest(f.hwnd(), c.x, c.y), c.hit) << c.x << "," << c.y;
    // The sizing frame keeps the system's answer, even beside the caption.
    const LRESULT frame = DefWindowProcA(f.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(101, 58));
    EXPECT_NE(frame, HTNOWHERE);
    EXPECT_EQ(HitTest(f.hwnd(), 101, 58), frame);

    // "ibFlag" survives only hit tests that end on the system-menu box.
    SetPropA(f.hwnd(), "ibFlag", reinterpret_cast<HANDLE>(1));
    HitTest(f.hwnd(), 105, 55);
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 1);
    HitTest(f.hwnd(), 108, 63);
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 0);
    SetPropA(f.hwnd(), "ibFlag", reinterpret_cast<HANDLE>(1));
    HitTest(f.hwnd(), 200, 70);
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 0);

    // A minimized window is left to the system.
    ShowWindow(f.hwnd(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(f.hwnd()));
    const RECT icon = f.windowRect();
    EXPECT_NE(HitTest(f.hwnd(), icon.left + 5, icon.top + 5), HTSYSMENU);
}

TEST(CaptionFrame, MinimumTrackingSize)
{
    struct Case {
        DWORD style;
        LONG width, height;
    };
    const Case cases[] = {
        {kExampleStyle, 47, 17},
        {WS_POPUP | WS_CAPTION | kAllBoxes | CaptionStyleHorizontal, 1, 1},  // no sizing frame: untouched
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        Frame f(c.style, 100, 50, 200, 40);
        MINMAXINFO info{};
        info.ptMinTrackSize = {1, 1};
        SendMessageA(f.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, c.width);
        EXPECT_EQ(info.ptMinTrackSize.y, c.height);
    }
}

TEST(CaptionFrame, DoubleClickClosesOnlyOnTheSystemMenuBox)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    ShowWindow(f.hwnd(), SW_SHOWNOACTIVATE);
    // Elsewhere on the caption the system's treatment follows (under Wine it maximizes).
    SendMessageA(f.hwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 58));
    EXPECT_TRUE(IsWindow(f.hwnd()));
    EXPECT_EQ(f.log().Count(WM_CLOSE), 0);
    const int commands = f.log().Count(WM_SYSCOMMAND);
    SendMessageA(f.hwnd(), WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(105, 55));
    EXPECT_EQ(f.log().Count(WM_CLOSE), 1);
    EXPECT_EQ(f.log().Count(WM_SYSCOMMAND), commands) << "closed directly, not through the system's SC_CLOSE";
    EXPECT_FALSE(IsWindow(f.hwnd()));
}

TEST(CaptionFrame, SystemCommandsChosenAsCommandsAreCarriedOut)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    ShowWindow(f.hwnd(), SW_SHOWNOACTIVATE);
    tavtest::PumpFor(20);

    SendMessageA(f.hwnd(), WM_COMMAND, 0xEFFF, 0);
    tavtest::PumpFor(20);
    EXPECT_EQ(f.log().Count(WM_SYSCOMMAND), 0);

    // Move: the system starts its keyboard move loop (which the log leaves at once).
    SendMessageA(f.hwnd(), WM_COMMAND, SC_MOVE, 0x1234);
    EXPECT_EQ(f.log().Count(WM_SYSCOMMAND), 0) << "posted, not sent";
    ASSERT_TRUE(tavtest::PumpUntil([&] { return f.log().Count(WM_EXITSIZEMOVE) == 1; }, 3000));
    const LoggedMessage *sys = f.log().Last(WM_SYSCOMMAND);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(sys->wParam, static_cast<WPARAM>(SC_MOVE));
    EXPECT_EQ(sys->lParam, 0x1234);
    EXPECT_EQ(f.log().Count(WM_ENTERSIZEMOVE), 1);

    SendMessageA(f.hwnd(), WM_COMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(tavtest::PumpUntil([&] { return IsIconic(f.hwnd()) != FALSE; }, 3000));
}

TEST(CaptionFrame, KeysReachTheSystemWithoutTheSystemMenu)
{
    for (DWORD caption : {DWORD{CaptionStyleHorizontal}, DWORD{0}}) {
        SCOPED_TRACE(caption);
        Frame f(kFrameStyle | kAllBoxes | caption, 100, 50, 200, 40);
        ShowWindow(f.hwnd(), SW_SHOWNOACTIVATE);
        const DWORD before = f.style();
        const int changesBefore = f.log().Count(WM_STYLECHANGED);
        // Alt pressed and released: with WS_SYSMENU the system would enter its menu.
        SendMessageA(f.hwnd(), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
        SendMessageA(f.hwnd(), WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001));
        SendMessageA(f.hwnd(), WM_KEYDOWN, 'A', 0x001E0001);
        tavtest::PumpFor(20);
        EXPECT_EQ(f.log().Count(WM_ENTERMENULOOP), 0);
        EXPECT_EQ(f.style(), before);
        // The style really was changed around the default processing: twice per key message.
        EXPECT_EQ(f.log().Count(WM_STYLECHANGED) - changesBefore, 6);
    }
}

TEST(CaptionFrame, SpaceAsSystemCharacterOpensThePopupBesideAVerticalCaption)
{
    RECT popup{};
    POINT anchor{-1, 0};
    Frame v(kFrameStyle | kAllBoxes | CaptionStyleVertical, 100, 50, 200, 60);
    ShowWindow(v.hwnd(), SW_SHOWNOACTIVATE);
    v.log().onMenuIdle = [&](HWND) {
        if (HWND menu = FindWindowA("#32768", nullptr))
            GetWindowRect(menu, &popup);
        EndMenu();
    };
    SendMessageA(v.hwnd(), WM_SYSCHAR, ' ', 0x20390001);
    EXPECT_EQ(v.log().Count(WM_INITMENUPOPUP), 1);
    EXPECT_EQ(Prop(v.hwnd(), "ibFlag"), 0) << "the key does not arm the click rule";
    ClientToScreen(v.hwnd(), &anchor);
    EXPECT_EQ(popup.left, anchor.x);
    EXPECT_EQ(popup.top, anchor.y);

    // Without WS_SYSMENU there is nothing to show.
    Frame bare(kFrameStyle | WS_MINIMIZEBOX | CaptionStyleHorizontal, 100, 50, 200, 40);
    SendMessageA(bare.hwnd(), WM_SYSCHAR, ' ', 0x20390001);
    SendMessageA(bare.hwnd(), WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(105, 55));
    EXPECT_EQ(bare.log().Count(WM_INITMENUPOPUP), 0);
    EXPECT_EQ(Prop(bare.hwnd(), "ibFlag"), 0);
    EXPECT_FALSE(ShowCaptionSysMenu(bare.hwnd()));
}

TEST(CaptionFrame, SystemMenuItemRules)
{
    struct Case {
        DWORD style;
        int show;
        bool move, size, minimize, maximize, restore;
    };
    // The rules are tested on the host; here, that the window's style and state reach them.
    const DWORD all = WS_POPUP | WS_CAPTION | CaptionStyleHorizontal | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                      WS_MAXIMIZEBOX;
    const Case cases[] = {
        {all, SW_SHOWNOACTIVATE, true, true, true, true, false},
        {all, SW_SHOWMAXIMIZED, false, false, true, true, true},
        {all, SW_SHOWMINNOACTIVE, false, false, true, true, false},
        {WS_POPUP | WS_CAPTION | CaptionStyleHorizontal | WS_SYSMENU, SW_SHOWNOACTIVATE, true, false, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " show " << std::dec << c.show);
        Frame f(c.style, 100, 50, 200, 40);
        ShowWindow(f.hwnd(), c.show);
        tavtest::PumpFor(20);
        HMENU menu = GetSystemMenu(f.hwnd(), FALSE);
        ASSERT_NE(menu, nullptr);
        EnableSysMenuItems(f.hwnd(), menu);
        const UINT ids[] = {SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE};
        const bool enabled[] = {c.move, c.size, c.minimize, c.maximize, c.restore};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ((GetMenuState(menu, ids[i], MF_BYCOMMAND) & MF_GRAYED) == 0, enabled[i]) << std::hex << ids[i];
    }
}

TEST(CaptionFrame, NonClientPaintDrawsTheCaptionActiveOrInactive)
{
    Frame f(kExampleStyle, 100, 50, 200, 40, "Paint");
    f.ShowActive();
    // A fill pixel near the title space's start, away from the centred text.
    const int x = 4 + 11, y = 4 + 1;
    EXPECT_EQ(WindowPixel(f.hwnd(), x, y), GetSysColor(COLOR_ACTIVECAPTION));
    SendMessageA(f.hwnd(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(WindowPixel(f.hwnd(), x, y), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessageA(f.hwnd(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(WindowPixel(f.hwnd(), x, y), GetSysColor(COLOR_ACTIVECAPTION));

    // The box painters take the window's own context when given none.
    DrawCaptionBox(nullptr, f.hwnd(), FALSE, TRUE);
    EXPECT_EQ(WindowPixel(f.hwnd(), 187, 4), RGB(0x80, 0x80, 0x80));
    DrawCaptionBox(nullptr, f.hwnd(), FALSE, FALSE);
    EXPECT_EQ(WindowPixel(f.hwnd(), 187, 4), RGB(0xFF, 0xFF, 0xFF));
    DrawSysMenuBox(nullptr, f.hwnd(), TRUE);
    EXPECT_EQ(WindowPixel(f.hwnd(), 4, 4), RGB(0x3F, 0x3F, 0x3F));
}

} // namespace
