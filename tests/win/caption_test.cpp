// The small caption frame on real windows: the painters against pictures.txt,
// and the non-client messages as the window passes them on.
#include <algorithm>

#include "caption/caption_paint.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

const DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const DWORD kExample = kFrameStyle | CaptionStyleHorizontal;  // at (100, 50), 200 x 40: caption 10

// A window whose procedure is the frame's, logging every message. A move or
// size loop is left at once; a popup menu is closed as soon as it is idle
// unless onMenuIdle says otherwise (a timer set there closes it when it fires).
struct Frame {
    Frame(DWORD style, int x = 100, int y = 50, int w = 200, int h = 40, const char *title = "")
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "CaptionTestFrame";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, title, style, x, y, w, h, nullptr, nullptr, nullptr, this);
    }
    ~Frame() { DestroyWindow(hwnd); }
    int Count(UINT m) const
    {
        return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const MSG &l) { return l.message == m; }));
    }
    const MSG &Last(UINT m) const
    {
        return *std::find_if(log.rbegin(), log.rend(), [&](const MSG &l) { return l.message == m; });
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
        auto *frame = reinterpret_cast<Frame *>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!frame)  // WM_GETMINMAXINFO comes before WM_NCCREATE
            return SmallCaptionFrame(window, message, wParam, lParam);
        Frame &f = *frame;
        f.log.push_back({window, message, wParam, lParam, 0, {}});
        if (message == WM_ENTERIDLE)
            f.onMenuIdle(window);
        if (message == WM_ENTERSIZEMOVE)
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        if (message == WM_TIMER && KillTimer(window, wParam))
            EndMenu();
        const LRESULT result = SmallCaptionFrame(window, message, wParam, lParam);
        return result;
    }

    HWND hwnd;
    std::vector<MSG> log;
    std::function<void(HWND)> onMenuIdle = [](HWND) { EndMenu(); };
};

// The pictures' colours: F frame, g light grey, d dark grey, k black, w
// white, G and D those greys inverted, A the caption's fill (`fill`).
COLORREF Legend(char c, int fill = COLOR_ACTIVECAPTION)
{
    const COLORREF fixed[] = {RGB(0xC0, 0xC0, 0xC0), RGB(0x80, 0x80, 0x80), 0, RGB(0xFF, 0xFF, 0xFF),
                              RGB(0x3F, 0x3F, 0x3F), RGB(0x7F, 0x7F, 0x7F)};
    return c == 'F'   ? GetSysColor(COLOR_WINDOWFRAME)
           : c == 'A' ? GetSysColor(fill)
                      : fixed[std::string("gdkwGD").find(c)];
}

// A rectangle of the screen in the window's coordinates.
RECT InWindow(HWND window, RECT r)
{
    OffsetRect(&r, -WindowRectOf(window).left, -WindowRectOf(window).top);
    return r;
}

RECT CaptionInWindow(HWND window)
{
    RECT caption{};
    GetCaptionRect(window, &caption);
    return InWindow(window, caption);
}

INT_PTR Prop(HWND window, const char *name)
{
    return reinterpret_cast<INT_PTR>(GetPropA(window, name));
}

std::string Picture(const MemoryCanvas &c, const RECT &at, const std::string &name, int fill = COLOR_ACTIVECAPTION)
{
    return PictureDiff(c, at.left, at.top, name, [fill](char k) { return Legend(k, fill); });
}

// The window's caption painted as WM_NCPAINT paints it.
BOOL PaintCaption(const MemoryCanvas &c, HWND window, BOOL active = TRUE)
{
    const RECT caption = CaptionInWindow(window);
    const auto has = [&](DWORD bit) { return (GetWindowLongPtrA(window, GWL_STYLE) & bit) != 0; };
    return DrawCaption(c.dc(), window, &caption, has(CaptionStyleVertical), has(WS_SYSMENU), has(WS_MINIMIZEBOX),
                       has(WS_MAXIMIZEBOX), active);
}

TEST(CaptionPaint, CaptionsAndBoxesPixelByPixel)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    for (char k : std::string("gdkwGD"))
        ASSERT_TRUE(Legend(k) != Legend('F') && Legend(k) != Legend('A')) << "the legend needs the system colours";
    enum Action { Paint, PressSysMenu, PressAndRaiseSysMenu, NeverMetTheFrame, LongTitle };
    const struct {
        const char *picture;
        int ibSize;  // 0: as the frame made it
        Action action;
        DWORD style = kExample;
        int fill = COLOR_ACTIVECAPTION;
    } cases[] = {
        {"caption horizontal", 0, Paint},
        {"caption horizontal", 0, Paint, kExample, COLOR_INACTIVECAPTION},
        {"caption vertical", 0, Paint, kFrameStyle | CaptionStyleVertical},
        {"system menu pressed", 0, PressSysMenu},
        {"caption horizontal", 0, PressAndRaiseSysMenu},
        // A window of another program, which never went through the frame: no "ibSize", the usual thickness.
        {"caption horizontal", 0, NeverMetTheFrame},
        {"caption of 4", 4, Paint},  // no bar, no glyph
        {"caption horizontal, boxes", 0, LongTitle},  // a title wider than its space is clipped to it
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture + std::string(c.fill == COLOR_ACTIVECAPTION ? "" : ", inactive"));
        const bool vertical = (c.style & CaptionStyleVertical) != 0;
        Frame f(c.style, 100, 50, vertical ? 60 : 200, vertical ? 200 : 40,
                c.action == LongTitle ? "A title far longer than the space the caption leaves between its boxes" : "");
        HWND w = c.action == NeverMetTheFrame
                     ? CreateWindowExA(0, "STATIC", "", c.style, 100, 50, 200, 40, nullptr, nullptr, nullptr, nullptr)
                     : f.hwnd;
        if (c.ibSize)
            SetPropA(w, "ibSize", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(c.ibSize)));
        const RECT r = WindowRectOf(w), caption = CaptionInWindow(w);
        MemoryCanvas canvas(r.right - r.left, r.bottom - r.top);
        EXPECT_EQ(PaintCaption(canvas, w, c.fill == COLOR_ACTIVECAPTION), TRUE);
        if (c.action == PressSysMenu || c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, TRUE);
        if (c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, FALSE);
        EXPECT_EQ(Picture(canvas, caption, c.picture, c.fill), "");
        const CapRect a = TitleArea({caption.left, caption.top, caption.right, caption.bottom}, vertical, true, true,
                                    true, CaptionIbSize(w));
        EXPECT_EQ(canvas.Count(GetSysColor(COLOR_CAPTIONTEXT), {a.left, a.top, a.right, a.bottom}) > 0,
                  c.action == LongTitle) << "the title";
        EXPECT_EQ(canvas.Count(kUnpainted, {0, 0, canvas.width, canvas.height}) +
                      (caption.right - caption.left) * (caption.bottom - caption.top),
                  canvas.width * canvas.height) << "painted beyond the caption";
        if (w != f.hwnd)
            DestroyWindow(w);
    }
    const RECT caption{4, 4, 196, 14};
    EXPECT_EQ(DrawCaption(nullptr, nullptr, &caption, FALSE, TRUE, TRUE, TRUE, TRUE), FALSE) << "no context";
    EXPECT_EQ(DrawCaption(MemoryCanvas(1, 1).dc(), nullptr, nullptr, FALSE, TRUE, TRUE, TRUE, TRUE), FALSE)
        << "no rectangle";
}

TEST(CaptionFrame, CommandsKeysAndTheSystemMenu)
{
    Frame f(kExample);
    ShowWindow(f.hwnd, SW_SHOWNOACTIVATE);
    // Menu commands are posted as system commands, the click's point along; 0xEFFF is no system command.
    SendMessageA(f.hwnd, WM_COMMAND, 0xEFFF, 0);
    SendMessageA(f.hwnd, WM_COMMAND, SC_MOVE, 0x1234);
    EXPECT_EQ(f.Count(WM_SYSCOMMAND), 0) << "posted, not sent";
    ASSERT_TRUE(PumpUntil([&] { return f.Count(WM_EXITSIZEMOVE) == 1; }));  // the move loop ran
    EXPECT_EQ(f.Count(WM_SYSCOMMAND), 1);
    EXPECT_EQ(f.Last(WM_SYSCOMMAND).wParam + f.Last(WM_SYSCOMMAND).lParam, SC_MOVE + 0x1234u);
    // Alt pressed and released: the style loses WS_SYSMENU around each key, so the system enters no menu.
    const int changes = f.Count(WM_STYLECHANGED);
    SendMessageA(f.hwnd, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    SendMessageA(f.hwnd, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001));
    SendMessageA(f.hwnd, WM_KEYDOWN, 'A', 0x001E0001);
    PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
    EXPECT_EQ(f.Count(WM_ENTERMENULOOP) * 100 + f.Count(WM_STYLECHANGED) - changes, 6);
    EXPECT_EQ(GetWindowLongPtrA(f.hwnd, GWL_STYLE) & WS_SYSMENU, WS_SYSMENU);
    // A click on the system-menu box opens the popup and arms "ibFlag"; the next click
    // there only disarms it, and so does any hit test outside the box.
    const int popups = f.Count(WM_INITMENUPOPUP);
    for (int expected : {1, 0, 1}) {
        SendMessageA(f.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(105, 55));
        EXPECT_EQ(Prop(f.hwnd, "ibFlag"), expected);
    }
    EXPECT_EQ(f.Count(WM_INITMENUPOPUP) - popups, 2);
    SendMessageA(f.hwnd, WM_NCHITTEST, 0, MAKELPARAM(200, 70));
    EXPECT_EQ(Prop(f.hwnd, "ibFlag"), 0);
    // A double click closes the window only on the box.
    SendMessageA(f.hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 58));
    EXPECT_EQ(f.Count(WM_CLOSE), 0);
    const int commands = f.Count(WM_SYSCOMMAND);
    SendMessageA(f.hwnd, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(105, 55));
    EXPECT_EQ(f.Count(WM_CLOSE) * 10 + f.Count(WM_SYSCOMMAND) - commands, 10) << "closed directly, not by SC_CLOSE";
}

} // namespace
