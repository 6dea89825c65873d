// The bar's geometry on the real TAV.EXE: every button where it belongs in
// the four layouts, the window sizes and tracking limits of the worked
// examples, snapping to whole cells under a real mouse drag, and corners.
#include <gtest/gtest.h>

#include <string>

#include "support/bar_driver.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

class BarLayout : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        // The worked examples assume the default metrics of the test system.
        ASSERT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
        ASSERT_EQ(GetSystemMetrics(SM_CYFRAME), 4);
        ASSERT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    }
};

std::string Rect(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// x, y, w, h of a child in client coordinates.
std::string Child(HWND bar, int id)
{
    HWND c = GetDlgItem(bar, id);
    if (!c)
        return "missing";
    const RECT r = ChildRect(bar, c);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

std::string ClientSize(HWND bar)
{
    RECT r{};
    GetClientRect(bar, &r);
    return std::to_string(r.right) + "x" + std::to_string(r.bottom);
}

MINMAXINFO Limits(HWND bar)
{
    MINMAXINFO mmi{};
    SendMessageA(bar, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

TEST_F(BarLayout, HorizontalWorkedExample)
{
    HWND w = Start("[environment section]\r\nposition=100,50\r\n");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Rect(WindowRectOf(w)), "(100,50)-(355,106)");
    EXPECT_EQ(ClientSize(w), "247x38");
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Child(w, 1000 + k), std::to_string(38 * k) + ",0 38x38");
    EXPECT_EQ(Child(w, 1005), "missing");
    EXPECT_EQ(Child(w, 501), "190,0 19x19");
    EXPECT_EQ(Child(w, 502), "190,19 19x19");
    EXPECT_EQ(Child(w, 503), "209,0 19x19");
    EXPECT_EQ(Child(w, 504), "209,19 19x19");
    EXPECT_EQ(Child(w, 505), "228,0 19x38");
    const MINMAXINFO mmi = Limits(w);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 255);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 56);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 825);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 56);
}

TEST_F(BarLayout, VerticalSmallDockedWorkedExample)
{
    // Vertical, small buttons, page buttons first, lower right corner.
    HWND w = Start("[environment section]\r\nmode=43012\r\nposition=5,5\r\n");
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(Rect(WindowRectOf(w)), "(986,565)-(1024,768)");
    EXPECT_EQ(ClientSize(w), "30x195");
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Child(w, 1000 + k), "0," + std::to_string(15 + 30 * k) + " 30x30");
    EXPECT_EQ(Child(w, 501), "0,0 15x15");
    EXPECT_EQ(Child(w, 502), "15,0 15x15");
    EXPECT_EQ(Child(w, 503), "0,165 15x15");
    EXPECT_EQ(Child(w, 504), "0,180 15x15");
    EXPECT_EQ(Child(w, 505), "15,165 15x30");
    const MINMAXINFO mmi = Limits(w);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 38);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 6 * 30 + 15 + 8);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 21 * 30 + 15 + 8);
}

struct LayoutCase {
    const char *what;
    int mode;
    const char *slot0, *slot5, *b501, *b502, *b503, *b504, *b505, *client;
};

// Six slots of 38 in each of the four layouts.
const LayoutCase kLayouts[] = {
    {"horizontal", 0, "0,0 38x38", "190,0 38x38", "228,0 19x19", "228,19 19x19", "247,0 19x19", "247,19 19x19",
     "266,0 19x38", "285x38"},
    {"horizontal, page buttons first", 0x800, "19,0 38x38", "209,0 38x38", "0,0 19x19", "0,19 19x19",
     "247,0 19x19", "247,19 19x19", "266,0 19x38", "285x38"},
    {"vertical", 0x8000, "0,0 38x38", "0,190 38x38", "0,228 19x19", "19,228 19x19", "0,247 19x19",
     "0,266 19x19", "19,247 19x38", "38x285"},
    {"vertical, page buttons first", 0x8800, "0,19 38x38", "0,209 38x38", "0,0 19x19", "19,0 19x19",
     "0,247 19x19", "0,266 19x19", "19,247 19x38", "38x285"},
};

TEST_F(BarLayout, FourLayouts)
{
    for (const LayoutCase &c : kLayouts) {
        SCOPED_TRACE(c.what);
        HWND w = Start("[environment section]\r\nbuttons par page=6\r\nposition=50,50\r\nmode=" +
                       std::to_string(c.mode) + "\r\n");
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Child(w, 1000), c.slot0);
        EXPECT_EQ(Child(w, 1005), c.slot5);
        EXPECT_EQ(Child(w, 501), c.b501);
        EXPECT_EQ(Child(w, 502), c.b502);
        EXPECT_EQ(Child(w, 503), c.b503);
        EXPECT_EQ(Child(w, 504), c.b504);
        EXPECT_EQ(Child(w, 505), c.b505);
        EXPECT_EQ(ClientSize(w), c.client);
        // The caption is always along the top, also over a column.
        const RECT win = WindowRectOf(w), cl = ClientRectOnScreen(w);
        EXPECT_EQ(cl.top - win.top, 4 + 10);
        ASSERT_EQ(bar_->Close(), 0);
        bar_.reset();
    }
}

TEST_F(BarLayout, DraggingTheBorderSnapsToWholeSlots)
{
    HWND w = Start("[environment section]\r\nposition=100,200\r\n");
    ASSERT_NE(w, nullptr);
    RECT r = WindowRectOf(w);
    const int y = (r.top + r.bottom) / 2;
    // Between 7 and 8 slots' worth: the bar snaps back to 7.
    ASSERT_TRUE(MouseDrag(r.right - 2, y, r.right - 2 + 2 * 38 + 20, y));
    PumpUntil([&] { return SlotCount(w) == 7; }, 3000);
    Settle();
    EXPECT_EQ(SlotCount(w), 7);
    r = WindowRectOf(w);
    EXPECT_EQ(r.right - r.left, 255 + 2 * 38);
    EXPECT_EQ(ClientSize(w), "323x38");

    // Far past twenty slots: the system's sizing loop stops a pixel short of the maximum
    // width here, so the drag ends on 19 or 20 whole slots, never more.
    ASSERT_TRUE(MouseDrag(r.right - 2, y, 1020, y));
    PumpUntil([&] { return SlotCount(w) >= 19; }, 3000);
    Settle();
    const int n = SlotCount(w);
    EXPECT_GE(n, 19);
    EXPECT_LE(n, 20);
    EXPECT_EQ(WindowRectOf(w).right - WindowRectOf(w).left, 255 + 38 * (n - 5));
    // Another program asking for any width gets at most twenty.
    SetWindowPos(w, nullptr, 0, 0, 2000, 56, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntil([&] { return SlotCount(w) == 20; }, 3000);
    EXPECT_EQ(SlotCount(w), 20);
    EXPECT_EQ(WindowRectOf(w).right - WindowRectOf(w).left, 825);

    // Far below five: five.
    r = WindowRectOf(w);
    ASSERT_TRUE(MouseDrag(r.right - 2, y, r.left + 20, y));
    PumpUntil([&] { return SlotCount(w) == 5; }, 3000);
    Settle();
    EXPECT_EQ(SlotCount(w), 5);
    EXPECT_EQ(WindowRectOf(w).right - WindowRectOf(w).left, 255);

    // Across the bar it stays one cell thick.
    r = WindowRectOf(w);
    const int x = (r.left + r.right) / 2;
    for (int to : {r.bottom + 100, r.bottom - 30}) {
        ASSERT_TRUE(MouseDrag(x, r.bottom - 2, x, to));
        Settle(300);
        EXPECT_EQ(WindowRectOf(w).bottom - WindowRectOf(w).top, 56);
        EXPECT_EQ(SlotCount(w), 5);
    }
}

TEST_F(BarLayout, DockedBarStaysInItsCornerWhileResized)
{
    HWND w = Start("[environment section]\r\nmode=4\r\n");  // lower right
    ASSERT_NE(w, nullptr);
    RECT r = WindowRectOf(w);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    EXPECT_EQ(r.bottom - r.top, 46);  // no caption
    const int y = (r.top + r.bottom) / 2;
    ASSERT_TRUE(MouseDrag(r.left + 2, y, r.left + 2 - 3 * 38 - 10, y));
    PumpUntil([&] { return SlotCount(w) == 8; }, 3000);
    Settle();
    EXPECT_EQ(SlotCount(w), 8);
    r = WindowRectOf(w);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    EXPECT_EQ(r.right - r.left, 255 + 3 * 38);
}

} // namespace
