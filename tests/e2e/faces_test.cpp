// The faces of the real TAV.EXE on the screen: slot faces with their icons
// (raised, and pressed while the real mouse button is held), the control
// faces, the page number, small buttons, and the strip that painting keeps
// until a reload. Screen pixels are compared with the faces this test
// composes from the same resources.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bar/layout.h"
#include "support/bar_driver.h"
#include "support/win_test.h"
#include "win/faces_pixels.h"

using namespace tavtest;
using namespace facetest;

namespace {

std::string Ini(unsigned mode, const std::string &programs)
{
    return "[environment section]\r\nmode=" + std::to_string(mode) +
           "\r\nposition=40,40\r\nbuttons par page=8\r\nmaximum pages=2\r\nstartup page=1\r\nJapan=1\r\n"
           "[program section]\r\n" +
           programs;
}

// The page number plate with `page` at (at, at), as it must look at h x s.
void PageNumberFace(int page, int h, int s, int at, MemoryCanvas &into)
{
    ResourceFace(IDB_PAGE_PLATE, into, 0, 0, 19, 38, h, s);
    DrawPageDigits(std::to_string(page), at, into);
}

class BarFaces : public BarTest {
protected:
    void SetUp() override
    {
        gApp.instance = GetModuleHandleA(nullptr);
        BarTest::SetUp();
    }

    // The button's screen pixels against `expected` (its top-left w x h).
    void ExpectButton(HWND bar, int id, const MemoryCanvas &expected, int w, int h, const std::string &what)
    {
        const RECT r = ClientRectOnScreen(GetDlgItem(bar, id));
        ASSERT_EQ(r.right - r.left, w) << what;
        ASSERT_EQ(r.bottom - r.top, h) << what;
        MemoryCanvas shown(w, h);
        CaptureScreen(r, shown);
        EXPECT_TRUE(shown.SameAs(expected, 0, 0, w, h, 0, 0)) << what << "\nshown:\n"
                                                               << shown.Dump(0, 0, 8, 8) << "expected:\n"
                                                               << expected.Dump(0, 0, 8, 8);
    }

    // A slot's face: the strip cell for this icon (nullptr: blank), raised or pressed, at size s.
    void ExpectSlot(HWND bar, int k, HICON icon, bool pressed, int s, const std::string &what)
    {
        MemoryCanvas cell(kStripWidth, kStripCellSize), expected(s, s);
        ExpectedCell(icon, cell);
        StretchBlt(expected.dc(), 0, 0, s, s, cell.dc(), pressed ? 38 : 0, 0, 38, 38, SRCCOPY);
        ExpectButton(bar, kFirstSlotId + k, expected, s, s, what);
    }
};

TEST_F(BarFaces, SlotAndControlFacesOnTheScreen)
{
    const std::string dll = IconLibrary();
    HWND bar = Start(Ini(0, "profile000=" + Entry(dll, -1) + "\r\nprofile001=" + Entry(dll, -2) +
                                "\r\nprofile002=" + Entry(TempFile("tav_e2e_plain.txt", "not an icon file\r\n"), 0) + "\r\n"));
    ASSERT_TRUE(bar);

    ExpectSlot(bar, 0, ResourceIcon(113), false, 38, "stored -1 shows the library's icon 0");
    ExpectSlot(bar, 1, ResourceIcon(114), false, 38, "stored -2 shows its icon 1");
    ExpectSlot(bar, 2, ResourceIcon(IDI_DEFAULT_PROGRAM), false, 38, "a plain text file shows icon 111");
    ExpectSlot(bar, 3, nullptr, false, 38, "a blank raised face");

    const struct {
        int id, bitmap, row;
        const char *what;
    } controls[] = {
        {501, IDB_PAGE_ARROWS, 0, "previous page: left arrow"},
        {502, IDB_PAGE_ARROWS, 1, "next page: right arrow"},
        {503, IDB_PIN, 0, "pin, not pinned: up arrow"},
        {504, IDB_PANEL_TOGGLE, 0, "panel toggle"},
    };
    for (const auto &c : controls) {
        MemoryCanvas expected(19, 19);
        ResourceFace(c.bitmap, expected, 0, 19 * c.row, 19, 19);
        ExpectButton(bar, c.id, expected, 19, 19, c.what);
    }
    MemoryCanvas number(19, 38);
    PageNumberFace(1, 19, 38, 9, number);
    ExpectButton(bar, 505, number, 19, 38, "page number 1 at (9, 9)");

    // Pressed while the real mouse button is held on it; let go elsewhere so nothing starts.
    const RECT slot = ClientRectOnScreen(GetDlgItem(bar, 1000));
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(slot.left + 19) + " " + std::to_string(slot.top + 19) +
                        " mousedown 1"));
    Settle(300);
    ExpectSlot(bar, 0, ResourceIcon(113), true, 38, "held down: the pressed face");
    ASSERT_TRUE(Xdotool("mousemove 600 600 mouseup 1"));
    Settle(300);
    ExpectSlot(bar, 0, ResourceIcon(113), false, 38, "released outside: raised again");
}

TEST_F(BarFaces, SmallButtonsScaleEveryFace)
{
    HWND bar = Start(Ini(SmallButtons, "profile000=" + Entry(IconLibrary(), 2) + "\r\n"));
    ASSERT_TRUE(bar);
    ExpectSlot(bar, 0, ResourceIcon(115), false, 30, "registered slot at 30 x 30");
    ExpectSlot(bar, 1, nullptr, false, 30, "blank slot at 30 x 30");
    const struct {
        int id, bitmap, row;
    } controls[] = {{501, IDB_PAGE_ARROWS, 0}, {502, IDB_PAGE_ARROWS, 1}, {503, IDB_PIN, 0}, {504, IDB_PANEL_TOGGLE, 0}};
    for (const auto &c : controls) {
        MemoryCanvas expected(15, 15);
        ResourceFace(c.bitmap, expected, 0, 19 * c.row, 19, 19, 15, 15);
        ExpectButton(bar, c.id, expected, 15, 15, "control " + std::to_string(c.id) + " at 15 x 15");
    }
    MemoryCanvas number(15, 30);
    PageNumberFace(1, 15, 30, 4, number);
    ExpectButton(bar, 505, number, 15, 30, "page number at (4, 4) on a 15 x 30 plate");
}

TEST_F(BarFaces, RepaintShowsTheOldFacesUntilAReload)
{
    const std::string dll = IconLibrary();
    HWND bar = Start(Ini(0, "profile000=" + Entry(dll, 0) + "\r\n"));
    ASSERT_TRUE(bar);
    ExpectSlot(bar, 0, ResourceIcon(113), false, 38, "at start");

    // Behind the bar's back: another icon for slot 0, a program on slot 1.
    WriteIni(Ini(0, "profile000=" + Entry(dll, 3) + "\r\nprofile001=" + Entry(dll, 1) + "\r\n"));
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(300);
    ExpectSlot(bar, 0, ResourceIcon(113), false, 38, "repainted: still the old icon");
    ExpectSlot(bar, 1, nullptr, false, 38, "repainted: still empty");

    SendMessageA(bar, WM_USER, 0, 0);
    Settle(300);
    ExpectSlot(bar, 0, ResourceIcon(116), false, 38, "reloaded: the new icon");
    ExpectSlot(bar, 1, ResourceIcon(114), false, 38, "reloaded: the new program");
}

} // namespace
