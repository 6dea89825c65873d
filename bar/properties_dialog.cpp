#include "bar/properties_dialog.h"

#include <commctrl.h>

#include <string>

#include "winkit/dpi.h"
#include "winkit/module.h"
#include "winkit/system_library.h"
#include "texts/message_box.h"
#include "texts/strings.h"
#include "ini/entry_rules.h"
#include "bar/page_rules.h"
#include "winkit/gdi_holders.h"
#include "res/resource.h"
#include "res/version.h"


namespace {

constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriod = 1500;
constexpr int kAnimationIcons[] = {IDI_TAV, IDI_ANIMATION_FIRST, IDI_ANIMATION_LAST, IDI_ANIMATION_3, IDI_ANIMATION_2};
constexpr int kFrames = static_cast<int>(sizeof kAnimationIcons / sizeof kAnimationIcons[0]);
constexpr char kVersionLine[] = "TAV! Version " TAV_VERSION_TEXT;
// The list index is the corner value: none, upper left, lower left, upper right, lower right.
constexpr unsigned kCornerStrings[] = {IDS_CORNER_NONE, IDS_CORNER_UPPER_LEFT, IDS_CORNER_LOWER_LEFT,
                                       IDS_CORNER_UPPER_RIGHT, IDS_CORNER_LOWER_RIGHT};
// Fields are read as the dialog has always read them: at most 9 characters.
constexpr int kNumberField = 10;

PropertiesDialogState &StateOf(HWND dialog)
{
    return *reinterpret_cast<PropertiesDialogState *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void PaintAnimation(HWND dialog)
{
    HWND frame = GetDlgItem(dialog, IDC_ANIMATION);
    const WindowDc dc(frame);
    RECT r{};
    GetClientRect(frame, &r);
    InvalidateRect(frame, nullptr, TRUE);
    FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    // The shared icon from LoadIconA is not ours to destroy.
    const HICON icon = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(kAnimationIcons[StateOf(dialog).animationFrame]));
    DrawIconCentred(frame, dc.get(), r, icon);
}

void AdvanceAnimation(HWND dialog)
{
    int &frame = StateOf(dialog).animationFrame;
    frame = (frame + 1) % kFrames;
    PaintAnimation(dialog);
}

// Wide: the Japanese lists read as such on a Western system too.
void AddString(HWND dialog, Language language, int list, unsigned base)
{
    SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadTavText(language, base).c_str()));
}

int NumberIn(HWND dialog, int field)
{
    char text[kNumberField] = {};
    GetDlgItemTextA(dialog, field, text, sizeof text);
    return LeadingInt(text);
}

void SetNumber(HWND dialog, int field, int n)
{
    SetDlgItemTextA(dialog, field, std::to_string(n).c_str());
}

bool Checked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

void Initialise(HWND dialog, const BarSettings &settings)
{
    SetTimer(dialog, kAnimationTimer, kAnimationPeriod, nullptr);
    SetNumber(dialog, IDC_PAGES, settings.maximumPages);
    SendDlgItemMessageA(dialog, IDC_PAGES, EM_LIMITTEXT, 2, 0);
    SendDlgItemMessageA(dialog, IDC_PAGES, EM_SETSEL, 0, -1);
    for (unsigned base : kCornerStrings)
        AddString(dialog, settings.language(), IDC_CORNER, base);
    // A hand-edited corner beyond the list selects nothing (CB_SETCURSEL with -1).
    const unsigned corner = settings.mode & CornerMask;
    SendDlgItemMessageA(dialog, IDC_CORNER, CB_SETCURSEL, corner <= 4 ? corner : static_cast<WPARAM>(-1), 0);
    // Both languages sort these two into this order: index 1 is vertical.
    AddString(dialog, settings.language(), IDC_ORIENTATION, IDS_HORIZONTAL);
    AddString(dialog, settings.language(), IDC_ORIENTATION, IDS_VERTICAL);
    SendDlgItemMessageA(dialog, IDC_ORIENTATION, CB_SETCURSEL, (settings.mode & Vertical) ? 1 : 0, 0);
    CheckDlgButton(dialog, IDC_SMALL, (settings.mode & SmallButtons) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_NO_TIPS, (settings.mode & NoTooltips) ? BST_CHECKED : BST_UNCHECKED);
    // The platform line reads the same in both languages: string 23 itself.
    char platform[128] = {};
    LoadStringA(ResourceModule(), IDS_PLATFORM, platform, sizeof platform);
    SetDlgItemTextA(dialog, IDC_PLATFORM, platform);
    CheckDlgButton(dialog, IDC_PAGES_FIRST, (settings.mode & PageButtonsFirst) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_VERSION, kVersionLine);
    // An empty range: the scroll bar shows only its two arrows, a spin for the field.
    SetScrollRange(GetDlgItem(dialog, IDC_PAGE_SPIN), SB_CTL, 0, 0, FALSE);
    // A bare key or Shift and a key would be lost to typing everywhere: the control adds Ctrl+Alt to them.
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, ControlWordOf(settings.hotKey), 0);
    SetFocus(GetDlgItem(dialog, IDC_PAGES));
}

void Spin(HWND dialog, int code)
{
    // The upper arrow adds a page, as every spin does.
    int step = 0;
    if (code == SB_LINEUP || code == SB_PAGEUP)
        step = 1;
    else if (code == SB_LINEDOWN || code == SB_PAGEDOWN)
        step = -1;
    if (step)
        SetNumber(dialog, IDC_PAGES, SpinPageCount(NumberIn(dialog, IDC_PAGES), step));
}

void Close(HWND dialog)
{
    KillTimer(dialog, kAnimationTimer);
    EndDialog(dialog, 1);
}

void Accept(HWND dialog, PropertiesDialogState &state)
{
    BarSettings &settings = state.settings;
    const int pages = NumberIn(dialog, IDC_PAGES);
    if (!PageCountAccepted(pages)) {
        TellUser(dialog, settings.language(), IDS_PAGE_RANGE, BoxKind::Described);
        SetNumber(dialog, IDC_PAGES, settings.maximumPages);
        SetFocus(GetDlgItem(dialog, IDC_PAGES));
        return;
    }
    PropertiesChoice choice;
    choice.pages = pages;
    choice.corner = static_cast<int>(SendDlgItemMessageA(dialog, IDC_CORNER, CB_GETCURSEL, 0, 0));
    choice.vertical = SendDlgItemMessageA(dialog, IDC_ORIENTATION, CB_GETCURSEL, 0, 0) > 0;
    choice.smallButtons = Checked(dialog, IDC_SMALL);
    choice.noTooltips = Checked(dialog, IDC_NO_TIPS);
    choice.pageButtonsFirst = Checked(dialog, IDC_PAGES_FIRST);
    // The control knows no Win key: a hot key with it stays as it is unless the user typed another.
    const unsigned word = static_cast<unsigned>(SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
    choice.hotKey = word == ControlWordOf(settings.hotKey) ? settings.hotKey : HotKeyFromControl(word);
    const bool wasDocked = (settings.mode & CornerMask) != 0;
    ApplyProperties(choice, settings);

    // Applied to the bar before the dialog closes, as the user sees it happen.
    state.accepted(GetWindow(dialog, GW_OWNER), wasDocked && !(settings.mode & CornerMask));
    Close(dialog);
}

} // namespace

HMODULE LoadHotKeyControl()
{
    const HMODULE controls = LoadSystemLibrary("comctl32.dll");
    using Init = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
    const auto init = controls ? reinterpret_cast<Init>(reinterpret_cast<void *>(
                                     GetProcAddress(controls, "InitCommonControlsEx")))
                               : nullptr;
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_HOTKEY_CLASS};
    if (init)
        init(&classes);
    return controls;
}

void OpenProperties(HWND bar, BarSettings &settings, PropertiesAccepted accepted)
{
    PropertiesDialogState state{settings, accepted};
    const HMODULE controls = LoadHotKeyControl();
    // Wide: the Japanese template's texts reach a Western system too.
    DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(TavDialogId(settings.language(), DialogKind::Properties)), bar,
                    PropertiesDialogProc, reinterpret_cast<LPARAM>(&state));
    if (controls)
        FreeLibrary(controls);
}

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Nothing but the first message comes before the dialog has its state.
    if (msg != WM_INITDIALOG && !GetWindowLongPtrA(dialog, DWLP_USER))
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Initialise(dialog, StateOf(dialog).settings);
        return FALSE;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_PAGE_SPIN))
            Spin(dialog, LOWORD(wParam));
        return TRUE;
    case WM_TIMER: AdvanceAnimation(dialog); return TRUE;
    case WM_PAINT: PaintAnimation(dialog); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            Accept(dialog, StateOf(dialog));
        else if (LOWORD(wParam) == IDCANCEL)
            Close(dialog);
        // Every notification of a control turns the clock, OK and Cancel as well.
        AdvanceAnimation(dialog);
        return TRUE;
    }
    return FALSE;
}
