// The frame under real input: the mouse through xdotool on the X display,
// the keyboard through the system's input queue.
#include "win/caption_test.h"

#include <atomic>
#include <thread>

using namespace captiontest;

namespace {

const DWORD kExampleStyle = kFrameStyle | kAllBoxes | CaptionStyleHorizontal;

class CaptionInput : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Xdotool("version")) << "xdotool must run on the test display"; }

    // Clicks at p and waits until the frame has handled the button-down.
    // Two clicks on one spot closer than the double-click time would make
    // a double click, so a click waits that long after the previous one.
    bool Click(Frame &f, POINT p)
    {
        const DWORD gap = GetDoubleClickTime() + 100;
        const DWORD since = GetTickCount() - lastClick_;
        if (lastClick_ && since < gap)
            tavtest::PumpFor(gap - since);
        const int before = f.log().nclButtonDownsDone;
        Xdotool("mousemove " + At(p) + " click 1");
        lastClick_ = GetTickCount();
        return tavtest::PumpUntil([&] { return f.log().nclButtonDownsDone > before; }, 5000);
    }

    DWORD lastClick_ = 0;
};

TEST_F(CaptionInput, SystemMenuBoxClickRule)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    const POINT box{106, 57}, client{200, 75};
    auto popups = [&] { return f.log().Count(WM_INITMENUPOPUP); };

    ASSERT_TRUE(Click(f, box));
    EXPECT_EQ(popups(), 1) << "a click opens the popup";
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 1);

    ASSERT_TRUE(Click(f, box));
    EXPECT_EQ(popups(), 1) << "a click without leaving the box opens nothing";
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 0);

    ASSERT_TRUE(Click(f, box));
    EXPECT_EQ(popups(), 2);
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 1);

    // The cursor leaves the box and comes back: the next click opens again.
    Xdotool("mousemove " + At(client));
    EXPECT_TRUE(tavtest::PumpUntil([&] { return Prop(f.hwnd(), "ibFlag") == 0; }, 3000));
    ASSERT_TRUE(Click(f, box));
    EXPECT_EQ(popups(), 3);
    EXPECT_EQ(Prop(f.hwnd(), "ibFlag"), 1);
}

TEST_F(CaptionInput, DoubleClickOnSystemMenuBoxClosesTheWindow)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    // The first click opens the popup; the second, arriving in it, must close it.
    f.log().onMenuIdle = [](HWND window) { SetTimer(window, kMenuSafetyTimer, 3000, nullptr); };
    Xdotool("mousemove 106 57 click --repeat 2 --delay 80 1");
    EXPECT_TRUE(tavtest::PumpUntil([&] { return !IsWindow(f.hwnd()); }, 5000));
    EXPECT_EQ(f.log().Count(WM_NCLBUTTONDBLCLK), 1);
    EXPECT_EQ(f.log().Count(WM_CLOSE), 1);
    EXPECT_EQ(f.log().Count(WM_SYSCOMMAND), 0) << "closed directly, not through the system's SC_CLOSE";
}

TEST_F(CaptionInput, AltSpaceOpensTheCaptionPopup)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    ASSERT_EQ(GetForegroundWindow(), f.hwnd());
    RECT popup{};
    COLORREF boxDuringMenu = CLR_INVALID;
    f.log().onMenuIdle = [&](HWND window) {
        if (HWND menu = FindWindowA("#32768", nullptr))
            GetWindowRect(menu, &popup);
        boxDuringMenu = WindowPixel(window, 4, 4);
        EndMenu();
    };
    keybd_event(VK_MENU, 0x38, 0, 0);
    keybd_event(VK_SPACE, 0x39, 0, 0);
    keybd_event(VK_SPACE, 0x39, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0x38, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(tavtest::PumpUntil([&] { return f.log().Count(WM_EXITMENULOOP) == 1; }, 3000));
    tavtest::PumpFor(50);

    const LoggedMessage *enter = f.log().Last(WM_ENTERMENULOOP);
    ASSERT_NE(enter, nullptr);
    EXPECT_EQ(enter->wParam, static_cast<WPARAM>(TRUE)) << "the caption's popup, not the system's menu";
    for (const LoggedMessage &m : f.log().messages) {
        if (m.message == WM_SYSCOMMAND) {
            EXPECT_NE(m.wParam & 0xFFF0, static_cast<WPARAM>(SC_KEYMENU));
        }
    }
    POINT anchor{0, -1};
    ClientToScreen(f.hwnd(), &anchor);
    EXPECT_EQ(popup.left, anchor.x);
    EXPECT_EQ(popup.top, anchor.y);
    EXPECT_EQ(boxDuringMenu, RGB(0x3F, 0x3F, 0x3F)) << "the box shows pressed while the popup is open";
    EXPECT_EQ(WindowPixel(f.hwnd(), 4, 4), RGB(0xC0, 0xC0, 0xC0)) << "and raised after";
    EXPECT_EQ(f.log().Count(WM_ENTERMENULOOP), 1);
}

ULONGLONG ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) { return ((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

TEST_F(CaptionInput, PressedBoxDraggedOutAndBackReleasedOutsideSendsNothing)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    RECT box;
    ASSERT_TRUE(GetMinimizeBoxRect(f.hwnd(), &box));
    const POINT in = Centre(box), out{200, 75};
    const RECT corner = InWindow(f.hwnd(), box);  // the face's top-left pixel tells raised from pressed
    const HWND window = f.hwnd();
    auto pressed = [&] { return WindowPixel(window, corner.left, corner.top) == RGB(0x80, 0x80, 0x80); };

    // While the frame's thread tracks the mouse, another thread moves it and
    // watches the box: pressed over it, raised off it.
    const ULONGLONG cpu0 = ThreadCpuMs(), wall0 = GetTickCount64();
    std::atomic<int> stepsSeen{0};
    std::atomic<bool> done{false};
    std::thread driver([&] {
        auto waitFor = [&](bool wantPressed) { return WaitFor([&] { return pressed() == wantPressed; }); };
        struct Step {
            std::string action;
            bool pressed;
        };
        const Step steps[] = {
            {"mousemove " + At(in) + " mousedown 1", true},
            {"mousemove " + At(out), false},
            {"mousemove " + At(in), true},
            {"mousemove " + At(out), false},
        };
        for (const Step &s : steps) {
            Xdotool(s.action);
            if (!waitFor(s.pressed))
                break;
            ++stepsSeen;
        }
        Xdotool("mouseup 1");
        done = true;
    });
    const bool finished =
        tavtest::PumpUntil([&] { return done && f.log().nclButtonDownsDone == 1; }, 15000);
    driver.join();
    ASSERT_TRUE(finished);
    // The tracking loop waits for the mouse instead of spinning on the processor.
    EXPECT_LT(ThreadCpuMs() - cpu0, (GetTickCount64() - wall0) / 3);
    EXPECT_EQ(stepsSeen, 4);
    EXPECT_EQ(f.log().Count(WM_SYSCOMMAND), 0);
    EXPECT_FALSE(IsIconic(f.hwnd()));
    EXPECT_EQ(WindowPixel(f.hwnd(), corner.left, corner.top), RGB(0xFF, 0xFF, 0xFF)) << "left raised";
    EXPECT_EQ(GetCapture(), nullptr);
}

// A window destroyed while its box is held (here by a message from another
// thread, handled while the tracking loop polls) can no longer receive the
// button-up: the tracking ends instead of polling for ever.
TEST_F(CaptionInput, ClosingTheWindowWhileABoxIsHeldEndsTheTracking)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    RECT box;
    ASSERT_TRUE(GetMinimizeBoxRect(f.hwnd(), &box));
    const RECT corner = InWindow(f.hwnd(), box);
    const HWND window = f.hwnd();
    FrameLog &log = f.log();
    std::atomic<bool> held{false}, endedBeforeRelease{false}, done{false};
    std::thread driver([&] {
        Xdotool("mousemove " + At(Centre(box)) + " mousedown 1");
        held = WaitFor([&] { return WindowPixel(window, corner.left, corner.top) == RGB(0x80, 0x80, 0x80); });
        SendMessageA(window, WM_CLOSE, 0, 0);
        endedBeforeRelease = WaitFor([&] { return log.nclButtonDownsDone == 1; }, 2000);
        Xdotool("mouseup 1");
        done = true;
    });
    const bool finished = tavtest::PumpUntil([&] { return done && log.nclButtonDownsDone == 1; }, 10000);
    driver.join();
    ASSERT_TRUE(finished);
    EXPECT_TRUE(held);
    EXPECT_TRUE(endedBeforeRelease);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(log.Count(WM_SYSCOMMAND), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CaptionInput, BoxClicksSendTheirCommands)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.ShowActive();
    auto lastCommand = [&]() -> WPARAM {
        const LoggedMessage *m = f.log().Last(WM_SYSCOMMAND);
        return m ? m->wParam & 0xFFF0 : 0;
    };
    RECT box;

    // Maximize box of a normal window, then of the maximized one.
    GetMaximizeBoxRect(f.hwnd(), &box);
    ASSERT_TRUE(Click(f, Centre(box)));
    EXPECT_EQ(lastCommand(), static_cast<WPARAM>(SC_MAXIMIZE));
    ASSERT_TRUE(tavtest::PumpUntil([&] { return IsZoomed(f.hwnd()) != FALSE; }, 3000));
    tavtest::PumpFor(50);

    GetMaximizeBoxRect(f.hwnd(), &box);
    ASSERT_TRUE(Click(f, Centre(box)));
    EXPECT_EQ(lastCommand(), static_cast<WPARAM>(SC_RESTORE));
    ASSERT_TRUE(tavtest::PumpUntil([&] { return !IsZoomed(f.hwnd()); }, 3000));
    tavtest::PumpFor(50);

    GetMinimizeBoxRect(f.hwnd(), &box);
    const POINT p = Centre(box);
    ASSERT_TRUE(Click(f, p));
    EXPECT_EQ(lastCommand(), static_cast<WPARAM>(SC_MINIMIZE));
    EXPECT_EQ(f.log().Last(WM_SYSCOMMAND)->lParam, MAKELPARAM(p.x, p.y)) << "the click's point goes along";
    EXPECT_TRUE(tavtest::PumpUntil([&] { return IsIconic(f.hwnd()) != FALSE; }, 3000));
}

TEST_F(CaptionInput, DraggingTheCaptionMovesTheWindow)
{
    Frame f(kExampleStyle, 100, 50, 200, 40);
    f.log().cancelSizeMove = false;
    f.ShowActive();
    const HWND window = f.hwnd();
    const DWORD thread = GetCurrentThreadId();
    auto moving = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
    };
    auto leftIs = [window](LONG x) {
        return [window, x] {
            RECT r;
            GetWindowRect(window, &r);
            return r.left == x;
        };
    };
    // The system's move loop runs on this thread; another one moves the mouse
    // step by step as the loop follows.
    std::atomic<int> stepsSeen{0};
    std::atomic<bool> done{false};
    std::thread driver([&] {
        Xdotool("mousemove 200 58 mousedown 1");
        if (WaitFor(moving))
            ++stepsSeen;
        Xdotool("mousemove 220 70");
        if (WaitFor(leftIs(120)))
            ++stepsSeen;
        Xdotool("mousemove 250 108");
        if (WaitFor(leftIs(150)))
            ++stepsSeen;
        Xdotool("mouseup 1");
        if (WaitFor([&] { return !moving(); }))
            ++stepsSeen;
        done = true;
    });
    const bool finished = tavtest::PumpUntil([&] { return done.load(); }, 20000);
    driver.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(stepsSeen, 4);
    EXPECT_EQ(f.windowRect().left, 150);
    EXPECT_EQ(f.windowRect().top, 100);
}

} // namespace
