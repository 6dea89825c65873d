// DrawCaption as other programs see it: looked up by both export names, in
// this program (linked with the same export file as TAV.EXE) and in another
// program's image whose start-up never ran.
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

// Resolves an image's imports, which the loader skips for a program's image
// mapped as a library.
bool BindImports(HMODULE module)
{
    auto *base = reinterpret_cast<BYTE *>(module);
    const auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return true;
    for (auto *imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); imp->Name; ++imp) {
        HMODULE dll = LoadLibraryA(reinterpret_cast<const char *>(base + imp->Name));
        if (!dll)
            return false;
        auto *lookup = reinterpret_cast<IMAGE_THUNK_DATA *>(
            base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->FirstThunk);
        for (; lookup->u1.AddressOfData; ++lookup, ++slot) {
            const char *name =
                IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)
                    ? reinterpret_cast<const char *>(IMAGE_ORDINAL(lookup->u1.Ordinal))
                    : reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + lookup->u1.AddressOfData)->Name;
            FARPROC fn = GetProcAddress(dll, name);
            if (!fn)
                return false;
            DWORD old = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(fn);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
        }
    }
    return true;
}

TEST(CaptionExport, BothNamesInThisProgramPaintTheSamePixels)
{
    HMODULE self = GetModuleHandleA(nullptr);
    const DrawCaptionProc plain = Lookup(self, "DrawCaption");
    const DrawCaptionProc decorated = Lookup(self, "_DrawCaption@32");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(decorated, nullptr);
    EXPECT_EQ(plain, decorated);
    EXPECT_EQ(plain, static_cast<DrawCaptionProc>(DrawCaption));

    Frame f(kStyle, 100, 50, 200, 40, "Exported");
    const auto direct = Painted(DrawCaption, f.hwnd());
    EXPECT_GT(TitlePixels(direct), 0);
    EXPECT_EQ(Painted(plain, f.hwnd()), direct);
    EXPECT_EQ(Painted(decorated, f.hwnd()), direct);
}

// Another program's DrawCaption, called on windows of this one: the demo's
// image is mapped without running its start-up, so the painter may rely on
// nothing that start-up or the frame's window creation would have set.
TEST(CaptionExport, AnotherProgramPaintsOurWindowsWithoutItsStartUp)
{
    const std::string path = tavtest::ProgramDir() + "\\caption_demo.exe";
    HMODULE demo = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(demo, nullptr) << path;
    ASSERT_TRUE(BindImports(demo));
    const DrawCaptionProc plain = Lookup(demo, "DrawCaption");
    const DrawCaptionProc decorated = Lookup(demo, "_DrawCaption@32");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain, decorated);
    EXPECT_NE(plain, static_cast<DrawCaptionProc>(DrawCaption)) << "the demo's own copy";

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
    FreeLibrary(demo);
}

} // namespace
