// The hover tooltip of the real TAV.EXE under the real mouse: shown after
// the delay below the hovered button without taking the focus, given the
// next slot's text and place at once, and gone on an empty slot, on a
// control button and off the bar.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "caption/gdi_holders.h"
#include "support/bar_driver.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

HWND FindTooltip() { return FindWindowA("TAV!TIPS", nullptr); }

// The tooltip's outer size for `text`, measured as the bar measures it.
SIZE TooltipSizeFor(const char *text)
{
    LOGFONTA description{};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0);
    const GdiObject<HFONT> font(CreateFontIndirectA(&description));
    const WindowDc dc(nullptr);
    const Selection use(dc.get(), font.get());
    RECT r{};
    DrawTextA(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
    return {r.right + 6, r.bottom + r.bottom / 3};
}

POINT CentreOf(HWND bar, int id)
{
    const RECT r = WindowRectOf(GetDlgItem(bar, id));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool MoveMouse(POINT p) { return Xdotool("mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y)); }

bool TooltipGoneWithin(DWORD ms)
{
    return PumpUntil([] { return FindTooltip() == nullptr; }, ms);
}

class Tooltips : public BarTest {
protected:
    // The tooltip for the button `id` with the mouse at `at`: its size for `text`, centred on
    // the mouse, its top on the button's bottom.
    void ExpectTooltip(HWND bar, int id, POINT at, const char *text)
    {
        HWND tip = FindTooltip();
        ASSERT_TRUE(tip) << text;
        const SIZE size = TooltipSizeFor(text);
        const RECT r = WindowRectOf(tip);
        EXPECT_EQ(r.right - r.left, size.cx) << text;
        EXPECT_EQ(r.bottom - r.top, size.cy) << text;
        EXPECT_EQ(r.left, at.x - size.cx / 2) << text;
        EXPECT_EQ(r.top, WindowRectOf(GetDlgItem(bar, id)).bottom) << text;
        EXPECT_NE(GetForegroundWindow(), tip) << "the tooltip took the focus";
    }
};

TEST_F(Tooltips, DelayReplaceAndHide)
{
    HWND bar = Start("[environment section]\r\nposition=100,100\r\nbuttons par page=8\r\nJapan=1\r\n"
                     "[program section]\r\nprofile000=C:\\A.EXE,0,,C:\\A.EXE\r\nTitle000=Editor && Notes\r\n"
                     "profile001=C:\\A.EXE,0,,C:\\A.EXE a,b\r\n");
    ASSERT_TRUE(bar);
    const POINT first = CentreOf(bar, 1000), second = CentreOf(bar, 1001);
    auto showFirst = [&] {
        ASSERT_TRUE(MoveMouse(first));
        const DWORD moved = GetTickCount();
        ASSERT_TRUE(PumpUntil([] { return FindTooltip() != nullptr; }, 3000)) << "no tooltip";
        const DWORD delay = GetTickCount() - moved;
        EXPECT_GE(delay, 700u) << "shown before the delay";
        EXPECT_LE(delay, 2000u);
        Settle();
    };

    showFirst();
    ExpectTooltip(bar, 1000, first, "Editor && Notes");

    // The next slot while shown: the same window takes the new text and place without a delay.
    HWND tip = FindTooltip();
    const RECT before = WindowRectOf(tip);
    ASSERT_TRUE(MoveMouse(second));
    EXPECT_TRUE(PumpUntil(
        [&] {
            const RECT now = WindowRectOf(tip);
            return !EqualRect(&before, &now);
        },
        500))
        << "not moved at once";
    Settle();
    EXPECT_EQ(FindTooltip(), tip);
    ExpectTooltip(bar, 1001, second, "C:\\A.EXE a,b");

    const struct {
        POINT to;
        DWORD within;
        const char *what;
    } hides[] = {
        {CentreOf(bar, 1002), 500, "an empty slot hides it at once"},
        {CentreOf(bar, 503), 500, "a control button hides it at once"},
        {{600, 600}, 1600, "off the bar, it goes at the next tick"},
    };
    for (const auto &h : hides) {
        ASSERT_TRUE(MoveMouse(h.to));
        EXPECT_TRUE(TooltipGoneWithin(h.within)) << h.what;
        if (&h != &hides[std::size(hides) - 1])
            showFirst();
    }
}

} // namespace
