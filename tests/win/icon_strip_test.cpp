// The icon strip built from TAV.INI, single cells redrawn and exchanged,
// with icons from tav_testicons.dll beside this program.
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "bar/layout.h"
#include "faces_pixels.h"

using namespace facetest;

namespace {

class IconStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gApp.instance = GetModuleHandleA(nullptr);
        gSettings = BarSettings{};
        bar_ = MakeWindow();
        ASSERT_TRUE(bar_);
    }
    void TearDown() override
    {
        FreeIconStrip();
        gButtons.slots.clear();
        DestroyWindow(bar_);
        tavtest::DeleteIni();
    }

    // TAV.INI with these "profile%03d" values, then the strip built from it.
    void Build(const std::vector<std::pair<int, std::string>> &slots)
    {
        std::string ini = "[program section]\r\n";
        for (const auto &[n, value] : slots)
            ini += ProfileKey(n) + "=" + value + "\r\n";
        tavtest::WriteIni(ini);
        BuildIconStrip(bar_);
        ASSERT_TRUE(gIconStrip.bitmap);
    }

    void ExpectCell(int n, HICON icon, const char *what)
    {
        MemoryCanvas expected(kStripWidth, kStripCellSize), actual(kStripWidth, kStripCellSize);
        ExpectedCell(icon, expected);
        CopyStripCell(n, actual);
        EXPECT_TRUE(actual.SameAs(expected)) << "cell " << n << ": " << what << "\n"
                                             << actual.Dump(0, 0, 8, 8);
    }

    HWND bar_ = nullptr;
};

TEST_F(IconStripTest, EachSlotShowsItsIconOrTheDefault)
{
    const std::string dll = IconLibrary();
    const std::string text = TempFile("tav_plain.txt", "not an icon file\r\n");
    const std::string longPath = "C:\\" + std::string(1000, 'a') + ".exe";
    const std::string overlong = std::string(3000, 'b');  // the reader cuts it at 2047 characters
    gSettings.maximumPages = 2;
    const struct {
        int slot;
        std::string value;
        int icon;  // resource id of the expected picture, 0: blank
        const char *what;
    } cases[] = {
        {0, Entry(dll, "-1"), 113, "stored -1 (start minimized) shows icon 0"},
        {1, Entry(dll, "-2"), 114, "stored -2 shows icon 1"},
        {2, Entry(dll, "1"), 114, "stored 1 shares icon 1 with the slot before"},
        {3, Entry(dll, "3"), 116, "same file, another index"},
        {4, Entry(text, "0"), IDI_DEFAULT_PROGRAM, "a plain text file"},
        {5, Entry("C:\\no\\such\\file.exe", "0"), IDI_DEFAULT_PROGRAM, "a missing file"},
        {6, Entry(dll, "9"), IDI_DEFAULT_PROGRAM, "an index beyond the file's icons"},
        {8, dll, 113, "no index field reads as 0"},
        {9, Entry(dll, "x"), 113, "an index without digits reads as 0"},
        {10, Entry(longPath, "0"), IDI_DEFAULT_PROGRAM, "a 1000-character path"},
        {11, overlong, IDI_DEFAULT_PROGRAM, "a value longer than the read buffer"},
        {25, Entry(dll, "-4"), 116, "a slot of the second page"},
        {39, Entry(dll, "2"), 115, "the last cell of the last page"},
    };
    std::vector<std::pair<int, std::string>> slots;
    for (const auto &c : cases)
        slots.emplace_back(c.slot, c.value);
    Build(slots);

    for (const auto &c : cases)
        ExpectCell(c.slot, c.icon ? ResourceIcon(c.icon) : nullptr, c.what);
    ExpectCell(7, nullptr, "a missing key is the blank face");
    ExpectCell(20, nullptr, "an empty slot of the second page");

    // The four icons of the library are four different pictures.
    MemoryCanvas a(kStripWidth, kStripCellSize), b(kStripWidth, kStripCellSize);
    for (int n : {1, 3, 39}) {
        CopyStripCell(0, a);
        CopyStripCell(n, b);
        EXPECT_FALSE(a.SameAs(b)) << n;
    }
}

TEST_F(IconStripTest, SizeFollowsMaximumPagesAndRebuildReplacesTheBitmap)
{
    for (int pages : {1, 3, 20}) {
        SCOPED_TRACE(pages);
        gSettings.maximumPages = pages;
        const HBITMAP before = gIconStrip.bitmap.get();
        Build({{pages * 20 - 1, Entry(IconLibrary(), "0")}});
        const SIZE size = tavtest::BitmapSize(gIconStrip.bitmap.get());
        EXPECT_EQ(size.cx, 76);
        EXPECT_EQ(size.cy, pages * 760);
        EXPECT_EQ(gIconStrip.cells, pages * 20);
        if (before) {
            EXPECT_EQ(GetObjectType(before), 0u) << "the old strip is deleted";
        }
        ExpectCell(pages * 20 - 1, ResourceIcon(113), "last cell");
    }
    const HBITMAP last = gIconStrip.bitmap.get();
    FreeIconStrip();
    EXPECT_FALSE(gIconStrip.bitmap);
    EXPECT_EQ(gIconStrip.cells, 0);
    EXPECT_EQ(GetObjectType(last), 0u);
    FreeIconStrip();  // twice is harmless
}

TEST_F(IconStripTest, BuildRestoresTheCursor)
{
    EXPECT_TRUE(LoadCursorA(gApp.instance, MAKEINTRESOURCEA(IDCUR_WAIT)));
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    SetCursor(cross);
    Build({{0, Entry(IconLibrary(), "0")}});
    EXPECT_EQ(GetCursor(), cross);
}

bool NeedsPaint(HWND w)
{
    RECT r{};
    return GetUpdateRect(w, &r, FALSE) != 0;
}

TEST_F(IconStripTest, RenderSlotCellRedrawsOneCellAndRepaintsTheButton)
{
    Build({{4, Entry(IconLibrary(), "0")}, {5, Entry(IconLibrary(), "1")}});
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 38, 38, bar_,
                                  nullptr, nullptr, nullptr);
    ShowWindow(bar_, SW_SHOWNA);
    ValidateRect(button, nullptr);
    // The INI is gone: the new cell comes from the arguments alone.
    tavtest::DeleteIni();

    RenderSlotCell(button, 4, IconLibrary().c_str(), -3);
    ExpectCell(4, ResourceIcon(115), "stored -3 shows icon 2");
    ExpectCell(5, ResourceIcon(114), "the neighbour is untouched");
    EXPECT_TRUE(NeedsPaint(button));

    ValidateRect(button, nullptr);
    RenderSlotCell(button, 4, "C:\\no\\such.ico", 0);
    ExpectCell(4, ResourceIcon(IDI_DEFAULT_PROGRAM), "a file without icons");

    RenderSlotCell(button, 4, nullptr, 0);
    ExpectCell(4, nullptr, "no icon file: the blank face of a removed program");
    EXPECT_TRUE(NeedsPaint(button));

    // Slot numbers without a cell change nothing, but the button still repaints.
    for (int n : {-1, 20, 100000}) {
        ValidateRect(button, nullptr);
        RenderSlotCell(button, n, IconLibrary().c_str(), 0);
        EXPECT_TRUE(NeedsPaint(button)) << n;
    }
    ExpectCell(5, ResourceIcon(114), "after out-of-range renders");
}

TEST_F(IconStripTest, SwapExchangesCellsWithoutReadingAnything)
{
    const std::string copy = TempFile("tav_swap_icons.dll", "");
    ASSERT_TRUE(CopyFileA(IconLibrary().c_str(), copy.c_str(), FALSE));
    Build({{2, Entry(copy, "0")}, {7, Entry(copy, "2")}});
    // Neither the file nor the icons are there any more: the cells must move as they are.
    tavtest::DeleteIni();
    ASSERT_TRUE(DeleteFileA(copy.c_str()));

    HWND slot = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 38, 38, bar_,
                                nullptr, nullptr, nullptr);
    ShowWindow(bar_, SW_SHOWNA);
    gButtons.slots = {slot};
    ValidateRect(slot, nullptr);

    SwapStripCells(bar_, 2, 7);
    ExpectCell(2, ResourceIcon(115), "cell 2 after the swap");
    ExpectCell(7, ResourceIcon(113), "cell 7 after the swap");
    ExpectCell(3, nullptr, "cells between are untouched");
    EXPECT_TRUE(NeedsPaint(slot)) << "every slot repaints";

    SwapStripCells(bar_, 7, 7);
    ExpectCell(7, ResourceIcon(113), "a cell swapped with itself");
    SwapStripCells(bar_, 2, 20);  // no cell 20 with one page
    SwapStripCells(bar_, -1, 2);
    ExpectCell(2, ResourceIcon(115), "after swaps with cells that do not exist");
}

} // namespace
