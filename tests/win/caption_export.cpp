// DrawCaption as other programs see it: looked up by both export names, in
// this program (linked with the same export file as TAV.EXE) and in TAV.EXE's
// image mapped by this program, whose start-up never ran.
#include "support/pe_image.h"
#include "win/caption_test.h"

using namespace captiontest;

namespace {

const DWORD kStyle = kFrameStyle | kAllBoxes | CaptionStyleHorizontal;

DrawCaptionProc Lookup(HMODULE module, const char *name)
{
    return reinterpret_cast<DrawCaptionProc>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// The caption painted by `paint` into a fresh canvas, as pixel values.
std::vector<COLORREF> Painted(DrawCaptionProc paint, HWND window)
{
    const RECT w = [&] {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }();
    Canvas c(w.right - w.left, w.bottom - w.top);
    const RECT caption = CaptionInWindow(window);
    EXPECT_EQ(paint(c.dc(), window, &caption, FALSE, TRUE, TRUE, TRUE, TRUE), TRUE);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            pixels.push_back(c.At(x, y));
    // The painter did draw the caption's boxes, not just anything.
    EXPECT_EQ(PictureDiff(c, kSysMenuRaised, caption.left, caption.top), "");
    EXPECT_EQ(PictureDiff(c, kMaximizeRaised, caption.right - 9, caption.top), "");
    return pixels;
}

int TitlePixels(const std::vector<COLORREF> &pixels)
{
    int n = 0;
    for (COLORREF c : pixels)
        n += c == GetSysColor(COLOR_CAPTIONTEXT);
    return n;
}

// TAV.EXE's DrawCaption, called on windows of this program: its image is
// mapped without running its start-up, so the painter may rely on nothing
// that start-up or the frame's window creation would have set.
TEST(CaptionExport, BothNamesHereAndInTavExePaintTheSamePixels)
{
    // In this program both names are the painter itself.
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(Lookup(self, "DrawCaption"), static_cast<DrawCaptionProc>(DrawCaption));
    EXPECT_EQ(Lookup(self, "_DrawCaption@32"), static_cast<DrawCaptionProc>(DrawCaption));

    std::string why;
    HMODULE tav = LoadProgramBound(tavtest::ProgramDir() + "\\TAV.EXE", &why);
    ASSERT_NE(tav, nullptr) << why;
    const DrawCaptionProc plain = Lookup(tav, "DrawCaption");
    const DrawCaptionProc decorated = Lookup(tav, "_DrawCaption@32");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain, decorated);
    EXPECT_NE(plain, static_cast<DrawCaptionProc>(DrawCaption)) << "TAV.EXE's own copy";

    // A window that went through this program's frame.
    Frame f(kStyle, 100, 50, 200, 40, "Exported");
    const auto ours = Painted(DrawCaption, f.hwnd());
    EXPECT_EQ(Painted(plain, f.hwnd()), ours);
    EXPECT_EQ(Painted(decorated, f.hwnd()), ours);
    EXPECT_GT(TitlePixels(ours), 0);

    // A window that never met the frame: no "ibSize" at all, the usual thickness.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CaptionExportPlain";
    RegisterClassA(&wc);
    HWND plainWindow = CreateWindowExA(0, wc.lpszClassName, "Exported",
                                       WS_POPUP | WS_BORDER | WS_THICKFRAME | kAllBoxes | CaptionStyleHorizontal, 100,
                                       50, 200, 40, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(plainWindow, nullptr);
    EXPECT_FALSE(HasProp(plainWindow, "ibSize"));
    EXPECT_EQ(Painted(plain, plainWindow), ours);
    DestroyWindow(plainWindow);
    FreeLibrary(tav);
}

} // namespace
