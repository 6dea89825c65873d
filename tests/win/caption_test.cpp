// The small caption frame's painters on real windows, against pictures.txt.
#include "caption/caption_gdi.h"
#include "caption/caption_paint.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

const DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const DWORD kExample = kFrameStyle | CaptionStyleHorizontal;  // at (100, 50), 200 x 40: caption 10

// A window whose procedure is the frame's, as the bar's is in the end.
struct Frame {
    Frame(DWORD style, int w, int h, const char *title)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = SmallCaptionFrame;
        wc.lpszClassName = "CaptionTestFrame";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, title, style, 100, 50, w, h, nullptr, nullptr, nullptr, nullptr);
    }
    ~Frame() { DestroyWindow(hwnd); }
    HWND hwnd;
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
        Frame f(c.style, vertical ? 60 : 200, vertical ? 200 : 40,
                c.action == LongTitle ? "A title far longer than the space the caption leaves between its boxes" : "");
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
        EXPECT_EQ(DrawCaption(canvas.dc(), w, &caption, has(CaptionStyleVertical), has(WS_SYSMENU), has(WS_MINIMIZEBOX),
                              has(WS_MAXIMIZEBOX), c.fill == COLOR_ACTIVECAPTION), TRUE);
        if (c.action == PressSysMenu || c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, TRUE);
        if (c.action == PressAndRaiseSysMenu)
            DrawSysMenuBox(canvas.dc(), w, FALSE);
        const auto legend = [&](char k) { return Legend(k, c.fill); };
        EXPECT_EQ(PictureDiff(canvas, caption.left, caption.top, c.picture, legend), "");
        const RECT title = ToRect(TitleArea(ToCapRect(caption), vertical, true, true, true, CaptionIbSize(w)));
        EXPECT_EQ(canvas.Count(GetSysColor(COLOR_CAPTIONTEXT), title) > 0, c.action == LongTitle) << "the title";
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

} // namespace
