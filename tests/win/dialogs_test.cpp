// The three dialogs in both languages from TAV.EXE's templates: every text fits its control in the dialog's
// font as Windows lays it out (the prefix maps Courier to a face of Courier New's widths), every control has a key.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "winkit/gdi_holders.h"
#include "winkit/module.h"
#include "bar/properties_dialog.h"
#include "res/resource.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A template and its procedure: the Properties dialog runs its own, which fills the lists and the about lines.
struct Template { int id; DLGPROC proc; };
const Template kTemplates[] = {{IDD_PROGRAM_EN, Quiet}, {IDD_PROGRAM_JA, Quiet}, {IDD_PROPERTIES_EN, PropertiesDialogProc},
                               {IDD_PROPERTIES_JA, PropertiesDialogProc}, {IDD_RUN_EN, Quiet}, {IDD_RUN_JA, Quiet}};

class Dialogs : public ::testing::Test {
protected:
    void TearDown() override { std::ranges::for_each(open_, DestroyWindow); }
    HWND Open(const Template &t)
    {
        open_.push_back(CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(t.id), nullptr, t.proc,
                                           reinterpret_cast<LPARAM>(&properties_)));
        return open_.back();
    }
    std::vector<HWND> open_;
    BarSettings settings_;
    PropertiesDialogState properties_{settings_, nullptr};
};

std::string ClassOf(HWND w) { char name[32] = {}; return {name, size_t(GetClassNameA(w, name, sizeof name))}; }
std::wstring TextOf(HWND w) { wchar_t text[256] = {}; return {text, size_t(GetWindowTextW(w, text, 256))}; }

// The text as a static lays it out (wrapped at its width, '&' hidden).
SIZE Extent(HDC dc, const std::wstring &text, int wrapWidth)
{
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right, r.bottom};
}

// What does not fit in `w`, as "text: needed > had"; empty when everything does.
std::string Misfits(HWND dialog, HWND w, HDC dc)
{
    RECT box{};
    GetClientRect(w, &box);
    const std::string cls = ClassOf(w);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    std::vector<std::wstring> texts;
    int chrome = 0;  // beside the text: a check box's box (at most 16 pixels on any Windows) and gap, a list's arrow
    if (cls == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
        texts.push_back(TextOf(w));
    } else if (cls == "Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        chrome = 16 + 4;
        texts.push_back(TextOf(w));
    } else if (cls == "ComboBox" && (style & 3) == CBS_DROPDOWNLIST) {
        chrome = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 2;
        const int n = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t item[256] = {};
            SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            texts.push_back(item);
        }
    }
    std::string out;
    for (const auto &t : texts) {
        const SIZE s = Extent(dc, t, chrome ? 0 : box.right);
        if (s.cx + chrome > box.right || (!chrome && s.cy > box.bottom))
            out += " [" + std::to_string(GetDlgCtrlID(w)) + " " + std::to_string(t.size()) + " chars: " +
                   std::to_string(s.cx + chrome) + "x" + std::to_string(s.cy) + " > " + std::to_string(box.right) +
                   "x" + std::to_string(box.bottom) + "]";
    }
    // A widened control stays inside its dialog.
    RECT outer = WindowRectOf(w), client{};
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&outer), 2);
    GetClientRect(dialog, &client);
    if (outer.right > client.right)
        out += " [" + std::to_string(GetDlgCtrlID(w)) + " leaves the dialog]";
    return out;
}

TEST_F(Dialogs, EveryTextFitsItsControl)
{
    for (const auto &t : kTemplates) {
        HWND dialog = Open(t);
        ASSERT_NE(dialog, nullptr) << t.id;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        const WindowDc dc(dialog);
        const Selection use(dc.get(), font);
        LOGFONTA asked{};
        TEXTMETRICA tm{};
        GetObjectA(font, sizeof asked, &asked);
        GetTextMetricsA(dc.get(), &tm);  // TMPF_FIXED_PITCH set means a proportional face
        ASSERT_FALSE(std::strstr(asked.lfFaceName, "Courier") && tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << t.id;
        std::string misfits;
        for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            misfits += Misfits(dialog, w, dc.get());
        EXPECT_EQ(misfits, "") << "dialog " << t.id;
    }
}

// Alt and a letter reaches one control only; Tab reaches the scroll bars that
// stand for spins; the page spin's upper arrow adds a page, as every spin does.
TEST_F(Dialogs, KeyboardReachesEveryControl)
{
    for (const auto &t : kTemplates) {
        HWND dialog = Open(t);
        std::multiset<wchar_t> letters;
        std::wstring repeated;
        for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            const std::wstring text = TextOf(w);
            const auto amp = text.find(L'&');
            if (amp != std::wstring::npos && amp + 1 < text.size()) {
                const wchar_t c = towupper(text[amp + 1]);
                if (letters.count(c))
                    repeated += c;
                letters.insert(c);
            }
            if (ClassOf(w) == "ScrollBar") {
                EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP) << t.id << " " << GetDlgCtrlID(w);
            }
        }
        EXPECT_EQ(repeated, L"") << "dialog " << t.id;
    }
    HWND properties = Open(kTemplates[2]);
    HWND spin = GetDlgItem(properties, IDC_PAGE_SPIN);
    const std::pair<WORD, const char *> spins[] = {{SB_LINEUP, "6"}, {SB_LINEDOWN, "4"}, {SB_PAGEUP, "6"},
                                                   {SB_PAGEDOWN, "4"}};
    for (const auto &[code, after] : spins) {
        SetDlgItemTextA(properties, IDC_PAGES, "5");
        SendMessageA(properties, WM_VSCROLL, code, reinterpret_cast<LPARAM>(spin));
        char now[8] = {};
        GetDlgItemTextA(properties, IDC_PAGES, now, sizeof now);
        EXPECT_STREQ(now, after) << "code " << code;
    }
}

} // namespace
