// The faces of the real TAV.EXE on the screen: a slot's face raised, pressed
// while the real mouse button is held on it, and kept until a reload; a
// control face. (The painters' rules are pinned in memory canvases under tests/win.)
#include "win/faces_pixels.h"

using namespace facetest;

namespace {

class BarFaces : public BarTest {
protected:
    // Waits until button `id` shows, raised or pressed, the slot face with this icon
    // (nullptr: blank), or a control face of bitmap `id`.
    bool Shows(HWND bar, int id, HICON icon, bool pressed = false)
    {
        const bool slot = id >= 1000;
        MemoryCanvas cell(76, 38), expected(38, 38), shown(38, 38);
        if (slot)
            ExpectedCell(icon, cell);
        else
            ResourceFace(id, cell, 0, 0, 19, 19, 19, 19);
        BitBlt(expected.dc(), 0, 0, 38, 38, cell.dc(), pressed ? 38 : 0, 0, SRCCOPY);
        const RECT r = ClientRectOnScreen(GetDlgItem(bar, id));
        return PumpUntil([&] {
            CaptureScreen({r.left, r.top, r.left + 38, r.top + 38}, shown);
            return shown.Differences(expected, {0, 0, slot ? 38 : 19, slot ? 38 : 19}, 0, 0) == 0;
        });
    }
};

TEST_F(BarFaces, FacesOnTheScreenPressedUnderTheMouseAndKeptUntilAReload)
{
    const std::string head = "[environment section]\r\nposition=40,40\r\n[program section]\r\nprofile000=";
    HWND bar = Start(head + Entry(IconLibrary(), -1) + "\r\n");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(Shows(bar, 1000, ResourceIcon(113))) << "stored -1 shows the library's icon 0";
    EXPECT_TRUE(Shows(bar, 1001, nullptr));
    EXPECT_TRUE(Shows(bar, IDB_PIN, nullptr)) << "the pin (503), not pinned";
    // Held down on it: pressed; let go elsewhere, so nothing starts: raised again.
    const RECT slot = ClientRectOnScreen(GetDlgItem(bar, 1000));
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(slot.left + 19) + " " + std::to_string(slot.top + 19) +
                        " mousedown 1"));
    EXPECT_TRUE(Shows(bar, 1000, ResourceIcon(113), true));
    ASSERT_TRUE(Xdotool("mousemove 600 600 mouseup 1"));
    EXPECT_TRUE(Shows(bar, 1000, ResourceIcon(113)));
    // Behind the bar's back: another icon for slot 0, a program on slot 1. A repaint (the
    // slots' update regions emptied) shows the strip as it was; a reload shows the file.
    WriteIni(head + Entry(IconLibrary(), 3) + "\r\nprofile001=" + Entry(IconLibrary(), 1) + "\r\n");
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(GetDlgItem(bar, 1000), nullptr, FALSE); }));
    EXPECT_TRUE(Shows(bar, 1000, ResourceIcon(113)) && Shows(bar, 1001, nullptr));
    SendMessageA(bar, WM_USER, 0, 0);
    EXPECT_TRUE(Shows(bar, 1000, ResourceIcon(116)) && Shows(bar, 1001, ResourceIcon(114)));
}

} // namespace
