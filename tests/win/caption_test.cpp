// The small caption frame on real windows: the painters against pictures.txt,
// and the non-client messages as the window passes them on.
#include <algorithm>
#include <cstdlib>

#include "caption/caption_gdi.h"
#include "caption/caption_paint.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

const DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const DWORD kExample = kFrameStyle | CaptionStyleHorizontal;  // at (100, 50), 200 x 40: caption 10

// A window whose procedure is the frame's, logging every message; a move or size loop is left at once, a
// popup menu once idle.
struct Frame {
    Frame(DWORD style, int w = 200, int h = 40, const char *title = "")
    {
        const WNDCLASSA wc{0, Proc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "CaptionTestFrame"};
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, title, style, 100, 50, w, h, nullptr, nullptr, nullptr, this);
    }
    ~Frame() { DestroyWindow(hwnd); }
    int Count(UINT m) const { return static_cast<int>(std::ranges::count(log, m, &MSG::message)); }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
        // WM_GETMINMAXINFO comes before WM_NCCREATE, with no frame to log it.
        if (auto *frame = reinterpret_cast<Frame *>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            frame->log.push_back({window, message, wParam, lParam, 0, {}});
        if (message == WM_ENTERIDLE)
            EndMenu();
        if (message == WM_ENTERSIZEMOVE)
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        return SmallCaptionFrame(window, message, wParam, lParam);
    }

    HWND hwnd;
    std::vector<MSG> log;
};

// The pictures' colours: F frame, g light grey, d dark grey, k black, w
// white, G and D those greys inverted, A the caption's fill (`fill`).
COLORREF Legend(char c, int fill = COLOR_ACTIVECAPTION)
{
    const COLORREF fixed[] = {RGB(0xC0, 0xC0, 0xC0), RGB(0x80, 0x80, 0x80), 0, RGB(0xFF, 0xFF, 0xFF),
                              RGB(0x3F, 0x3F, 0x3F), RGB(0x7F, 0x7F, 0x7F)};
    const int system = c == 'F' ? COLOR_WINDOWFRAME : c == 'A' ? fill : -1;
    return system >= 0 ? GetSysColor(system) : fixed[std::string("gdkwGD").find(c)];
}

TEST(CaptionPaint, CaptionsAndBoxesPixelByPixel)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    // As another program calls it: with the platform's standard convention (a wrong one unbalances a 32-bit
    // caller's stack), which the x86 build will not convert. TAV.EXE's two export names: the imports check.
    using Painter = BOOL(WINAPI *)(HDC, HWND, const RECT *, BOOL, BOOL, BOOL, BOOL, BOOL);
    const Painter paint = static_cast<Painter>(DrawCaption);
    for (char k : std::string("gdkwGD"))
        ASSERT_TRUE(Legend(k) != Legend('F') && Legend(k) != Legend('A')) << "the legend needs the system colours";
    enum Action { Paint, PressSysMenu, PressAndRaiseSysMenu, NeverMetTheFrame, LongTitle, ShortTitle };
    // picture "": the title's place is checked, not a picture; ibSize 0: as the frame made it.
    const struct {
        const char *picture; int ibSize; Action action; DWORD style = kExample; int fill = COLOR_ACTIVECAPTION;
    } cases[] = {
        {"caption horizontal", 0, Paint}, {"caption horizontal", 0, Paint, kExample, COLOR_INACTIVECAPTION},
        {"caption vertical", 0, Paint, kFrameStyle | CaptionStyleVertical}, {"system menu pressed", 0, PressSysMenu},
        {"caption horizontal", 0, PressAndRaiseSysMenu},
        // A window of another program, which never went through the frame: no "ibSize", the usual thickness.
        {"caption horizontal", 0, NeverMetTheFrame},
        {"caption of 4", 4, Paint},                  // no bar, no glyph
        {"caption horizontal, boxes", 0, LongTitle}, // a title wider than its space is clipped to it
        {"caption horizontal, boxes", 0, ShortTitle}, {"", 0, ShortTitle, kFrameStyle | CaptionStyleVertical},
        {"", 0, LongTitle, kFrameStyle | CaptionStyleVertical}, // from its bottom end, running up
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture + std::string(c.fill == COLOR_ACTIVECAPTION ? "" : ", inactive"));
        const bool vertical = (c.style & CaptionStyleVertical) != 0;
        Frame f(c.style, vertical ? 60 : 200, vertical ? 200 : 40,
                c.action == LongTitle    ? "A title far longer than the space the caption leaves between its boxes"
                : c.action == ShortTitle ? "TAV!"
                                         : "");
        HWND w = c.action == NeverMetTheFrame
                     ? CreateWindowExA(0, "STATIC", "", c.style, 100, 50, 200, 40, nullptr, nullptr, nullptr, nullptr)
                     : f.hwnd;
        if (c.ibSize)
            SetPropA(w, "ibSize", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(c.ibSize)));
        const RECT r = WindowRectOf(w);
        RECT caption{};
        GetCaptionRect(w, &caption);
        OffsetRect(&caption, -r.left, -r.top);  // in the window's own coordinates
        MemoryCanvas canvas(r.right - r.left, r.bottom - r.top);
        const auto has = [&](DWORD bit) { return (GetWindowLongPtrA(w, GWL_STYLE) & bit) != 0; };
        EXPECT_EQ(paint(canvas.dc(), w, &caption, has(CaptionStyleVertical), has(WS_SYSMENU), has(WS_MINIMIZEBOX),
                        has(WS_MAXIMIZEBOX), c.fill == COLOR_ACTIVECAPTION),
                  TRUE);
        if (c.action == PressSysMenu || c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, TRUE);
        if (c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, FALSE);
        const auto legend = [&](char k) { return Legend(k, c.fill); };
        EXPECT_EQ(*c.picture ? PictureDiff(canvas, caption.left, caption.top, c.picture, legend) : "", "");
        // The title's pixels (smoothed edges too): centred along the caption when it fits, else from its start.
        const RECT title = ToRect(TitleArea(ToCapRect(caption), vertical, true, true, true, CaptionIbSize(w)));
        RECT text{title.right, title.bottom, title.left, title.top};
        for (int y = title.top; y < title.bottom; ++y)
            for (int x = title.left; x < title.right; ++x)
                if (const RECT px{x, y, x + 1, y + 1}; canvas.At(x, y) != legend('A') && canvas.At(x, y) != legend('F'))
                    UnionRect(&text, &text, &px);
        EXPECT_EQ(text.left < text.right, c.action == LongTitle || c.action == ShortTitle) << "the title";
        const int before = vertical ? text.top - title.top : text.left - title.left;
        const int after = vertical ? title.bottom - text.bottom : title.right - text.right;
        const int start = vertical ? after : before;
        EXPECT_LE(c.action == ShortTitle ? std::abs(before - after) : c.action == LongTitle ? start : 0, 2)
            << before << " and " << after << " around the title";
        EXPECT_EQ(canvas.Count(kUnpainted, {0, 0, canvas.width, canvas.height}) +
                      (caption.right - caption.left) * (caption.bottom - caption.top),
                  canvas.width * canvas.height) << "painted beyond the caption";
        if (w != f.hwnd)
            DestroyWindow(w);
    }
    const RECT caption{4, 4, 196, 14};
    EXPECT_FALSE(DrawCaption(nullptr, nullptr, &caption, FALSE, TRUE, TRUE, TRUE, TRUE)) << "no context";
    EXPECT_FALSE(DrawCaption(MemoryCanvas(1, 1).dc(), nullptr, nullptr, FALSE, TRUE, TRUE, TRUE, TRUE)) << "no rectangle";
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
    const auto command = std::ranges::find(f.log, UINT{WM_SYSCOMMAND}, &MSG::message);
    EXPECT_EQ(command->wParam + command->lParam, SC_MOVE + 0x1234u);
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
    const auto armed = [&] { return reinterpret_cast<INT_PTR>(GetPropA(f.hwnd, "ibFlag")); };
    for (int expected : {1, 0, 1}) {
        SendMessageA(f.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(105, 55));
        EXPECT_EQ(armed(), expected);
    }
    EXPECT_EQ(f.Count(WM_INITMENUPOPUP) - popups, 2);
    SendMessageA(f.hwnd, WM_NCHITTEST, 0, MAKELPARAM(200, 70));
    EXPECT_EQ(armed(), 0);
    // A double click closes the window only on the box.
    SendMessageA(f.hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 58));
    EXPECT_EQ(f.Count(WM_CLOSE), 0);
    const int commands = f.Count(WM_SYSCOMMAND);
    SendMessageA(f.hwnd, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(105, 55));
    EXPECT_EQ(f.Count(WM_CLOSE) * 10 + f.Count(WM_SYSCOMMAND) - commands, 10) << "closed directly, not by SC_CLOSE";
}

} // namespace
