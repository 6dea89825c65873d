// The three dialogs in both languages from TAV.EXE's templates: every text fits its control in the dialog's
// font as Windows lays it out (the prefix maps Courier to a face of Courier New's widths), every control has a key;
// and the message boxes of each kind.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "winkit/gdi_holders.h"
#include "winkit/geometry.h"
#include "winkit/module.h"
#include "bar/layout.h"
#include "bar/pages.h"
#include "bar/properties_dialog.h"
#include "texts/message_box.h"
#include "res/resource.h"
#include "tips/tooltip.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A template, its language and its procedure: the Properties dialog runs its own, which fills the lists (in the
// bar's language, whatever the system's code page) and the about lines.
struct Template { int id; int language; DLGPROC proc; };
const Template kTemplates[] = {{IDD_PROGRAM_EN, 1, Quiet}, {IDD_PROGRAM_JA, 0, Quiet},
                               {IDD_PROPERTIES_EN, 1, PropertiesDialogProc}, {IDD_PROPERTIES_JA, 0, PropertiesDialogProc},
                               {IDD_RUN_EN, 1, Quiet}, {IDD_RUN_JA, 0, Quiet}};

class Dialogs : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::ranges::for_each(open_, DestroyWindow);
        FreeLibrary(controls_);
    }
    HWND Open(const Template &t)
    {
        settings_.languageOffset = t.language;
        open_.push_back(CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(t.id), nullptr, t.proc,
                                           reinterpret_cast<LPARAM>(&properties_)));
        return open_.back();
    }
    std::vector<HWND> open_;
    HMODULE controls_ = LoadHotKeyControl();  // the Properties dialog's hotkey control
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
    std::string out;
    const auto misfit = [&](const std::string &what) {
        out += " [" + std::to_string(GetDlgCtrlID(w)) + " " + what + "]";
    };
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
        // Dropped, the list shows every item: no scroll bar over the selected one.
        RECT dropped{};
        SendMessageW(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        const int list = dropped.bottom - dropped.top - (WindowRectOf(w).bottom - WindowRectOf(w).top);
        const int needed = n * static_cast<int>(SendMessageW(w, CB_GETITEMHEIGHT, 0, 0)) + 2;
        if (list < needed)
            misfit("list " + std::to_string(list) + " < " + std::to_string(needed));
    }
    for (const auto &t : texts) {
        const SIZE s = Extent(dc, t, chrome ? 0 : box.right);
        if (s.cx + chrome > box.right || (!chrome && s.cy > box.bottom))
            misfit(std::to_string(t.size()) + " chars: " + std::to_string(s.cx + chrome) + "x" + std::to_string(s.cy) +
                   " > " + std::to_string(box.right) + "x" + std::to_string(box.bottom));
    }
    // A widened control stays inside its dialog.
    RECT outer = WindowRectOf(w), client{};
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&outer), 2);
    GetClientRect(dialog, &client);
    if (outer.right > client.right)
        misfit("leaves the dialog");
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

// A Japanese template says in Japanese what its English one says, child by child: only OK and the version and
// platform lines read the same in both languages.
TEST_F(Dialogs, JapaneseTemplatesSayItInJapanese)
{
    for (std::size_t pair = 0; pair + 1 < std::size(kTemplates); pair += 2) {
        std::string same;
        for (HWND e = GetWindow(Open(kTemplates[pair]), GW_CHILD), j = GetWindow(Open(kTemplates[pair + 1]), GW_CHILD);
             e && j; e = GetWindow(e, GW_HWNDNEXT), j = GetWindow(j, GW_HWNDNEXT))
            if (ClassOf(e) != "Edit" && !TextOf(e).empty() && TextOf(e) == TextOf(j) && TextOf(e) != L"OK" &&
                GetDlgCtrlID(e) != IDC_VERSION && GetDlgCtrlID(e) != IDC_PLATFORM)
                same += " " + std::to_string(GetDlgCtrlID(e));
        EXPECT_EQ(same, "") << "dialog " << kTemplates[pair + 1].id;
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

// What comes up while the bar's code runs, as one line: a menu's second item; a box's caption, icon, No button and
// text, and whether it stands where PlaceNear puts it beside its owner. A test program window stands for the bar.
std::wstring gSeen;

void CALLBACK LookAtWhatCameUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND menu = FindWindowA("#32768", nullptr), box = FindWindowA("#32770", nullptr);
    wchar_t t[512] = {};
    if (menu && IsWindowVisible(menu)) {
        GetMenuStringW(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)), 1, t, 512, MF_BYPOSITION);
        gSeen = t;
        EndMenu();
    } else if (box && IsWindowVisible(box)) {
        const RECT b = WindowRectOf(box), o = WindowRectOf(GetWindow(box, GW_OWNER));
        MONITORINFO m{sizeof m};
        GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &m);
        const Point at = PlaceNear({o.left, o.top, o.right, o.bottom}, {b.right - b.left, b.bottom - b.top},
                                   {m.rcWork.left, m.rcWork.top, m.rcWork.right, m.rcWork.bottom});
        const std::wstring caption(t, GetWindowTextW(box, t, 512));
        gSeen = (caption == L"TAV!" ? caption : L"(system's)") + (at.x == b.left && at.y == b.top ? L" beside" : L" away");
        for (HWND w = GetWindow(box, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))  // the icon's id differs between systems
            for (int icon = 32513; icon <= 32516; ++icon)
                if (SendMessageW(w, STM_GETICON, 0, 0) == LPARAM(LoadIconW(nullptr, MAKEINTRESOURCEW(icon))))
                    gSeen += L" icon " + std::to_wstring(icon);
        gSeen += std::wstring(GetDlgItem(box, IDNO) ? L" no " : L" ") + std::wstring(t, GetDlgItemTextW(box, 0xFFFF, t, 512));
        PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDNO) ? IDNO : IDOK, 0);
    } else {
        return;
    }
    KillTimer(nullptr, timer);
}

// Boxes of each kind, the page menu and a button's tooltip, in Japanese whatever the code page; a box given a
// button is its bar's.
// A subclass procedure that only hands every message on, as the arrows' does.
LRESULT CALLBACK PassOn(HWND b, UINT m, WPARAM w, LPARAM l) { return CallWindowProcA(PreviousProc(b), b, m, w, l); }

TEST(Boxes, EachKindHasItsCaptionIconAndPlaceAndTheMenuAndTooltipTheirLanguage)
{
    const HWND bar = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 100, 255, 56, nullptr, nullptr,
                                     nullptr, nullptr);
    const HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 19, 19, bar, nullptr, nullptr, nullptr);
    const std::wstring text = L"\u8907\u6570\u30d5\u30a1\u30a4\u30eb\u306e\u4e00\u62ec\u767b\u9332\u306f\u30b5\u30dd"
                              L"\u30fc\u30c8\u3055\u308c\u3066\u3044\u307e\u305b\u3093\n-";
    const std::pair<BoxKind, std::wstring> boxes[] = {{BoxKind::Described, L"(system's) beside icon 32516 "},
        {BoxKind::Warning, L"TAV! beside icon 32515 "}, {BoxKind::Question, L"TAV! beside icon 32514 no "}};
    for (const auto &[kind, seen] : boxes) {
        SetTimer(nullptr, 0, 50, LookAtWhatCameUp);
        EXPECT_EQ(TellUser(button, Language{0}, IDS_MULTI_DROP, kind, L"\n-"), kind == BoxKind::Question ? IDNO : IDOK);
        EXPECT_EQ(gSeen, seen + text);
    }
    BarState state;
    BarSettings settings{.maximumPages = 2, .languageOffset = 0};
    SetForegroundWindow(bar);
    SetTimer(nullptr, 0, 50, LookAtWhatCameUp);
    OnPageMenu({bar, state, settings, SystemPanelState{}}, button, MAKELPARAM(2, 2));
    EXPECT_EQ(gSeen, L"&2 \u30da\u30fc\u30b8\u3078");
    // A button's Japanese name is what its tooltip shows, as stored: subclassed as the arrows are, it would answer
    // in the code page.
    TooltipState tip;
    SubclassButton(button, PassOn);
    DefWindowProcW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u5e38\u306b"));
    UpdateHover(bar, tip, {false, button, HoverOn::ControlButton, 2});
    EXPECT_STREQ(tip.pendingText, L"\u5e38\u306b");
    HideTooltip(bar, tip);
    RestoreButtonProc(button);
    DestroyWindow(bar);
}

} // namespace
