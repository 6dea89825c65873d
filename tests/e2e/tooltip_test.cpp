// The hover tooltip of the real TAV.EXE under the real mouse: the delay, the
// next slot's text and place at once, and the ways it goes away.
#include <gtest/gtest.h>

#include <string>

#include "app/gdi_holders.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

HWND Tip() { return FindWindowA("TAV!TIPS", nullptr); }

// The tooltip's width for `text`: the text in the icon-title font and the margin.
int TipWidth(const char *text)
{
    LOGFONTA lf{};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    const GdiObject<HFONT> font(CreateFontIndirectA(&lf));
    const WindowDc dc(nullptr);
    const Selection use(dc.get(), font.get());
    RECT r{};
    DrawTextA(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right + 6;
}

TEST_F(BarTest, TooltipDelayReplaceAndHide)
{
    HWND bar = Start("[environment section]\r\nposition=100,100\r\nbuttons par page=8\r\nJapan=1\r\n[program section]\r\n"
                     "profile000=C:\\A.EXE,0,,C:\\A.EXE\r\nTitle000=Editor && Notes\r\n"
                     "profile001=C:\\A.EXE,0,,C:\\A.EXE a,b\r\n");
    ASSERT_TRUE(bar);
    const struct {
        int id;            // the button the mouse goes to (0: off the bar)
        const char *text;  // what the tooltip shows then; nullptr: none
        DWORD after, within;
    } steps[] = {
        {1000, "Editor && Notes", 700, 2000}, {1001, "C:\\A.EXE a,b", 0, 500}, {1002, nullptr, 0, 500},
        {1000, "Editor && Notes", 700, 2000}, {503, nullptr, 0, 500},         {1000, "Editor && Notes", 700, 2000},
        {0, nullptr, 0, 1600},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(std::to_string(s.id) + (s.text ? s.text : " hides"));
        const RECT button = s.id ? WindowRectOf(GetDlgItem(bar, s.id)) : RECT{600, 600, 600, 600};
        const POINT to{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        ASSERT_TRUE(Xdotool("mousemove --sync " + std::to_string(to.x) + " " + std::to_string(to.y)));
        const DWORD moved = GetTickCount();
        const int width = s.text ? TipWidth(s.text) : 0;
        auto shown = [&] { return s.text ? WindowRectOf(Tip()).right - WindowRectOf(Tip()).left == width : !Tip(); };
        ASSERT_TRUE(PumpUntil(shown, s.within));
        EXPECT_GE(GetTickCount() - moved, s.after);
        if (!s.text)
            continue;
        const RECT r = WindowRectOf(Tip());
        EXPECT_EQ(r.left, to.x - width / 2) << "centred on the mouse";
        EXPECT_EQ(r.top, button.bottom) << "directly below the button";
        EXPECT_NE(GetForegroundWindow(), Tip()) << "took the focus";
    }
}

} // namespace
