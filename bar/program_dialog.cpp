#include "bar/program_dialog.h"

#include "winkit/dpi.h"
#include "winkit/module.h"
#include "winkit/open_file_dialog.h"

#include <string>
#include <vector>

#include "ini/code_page_path.h"
#include "texts/message_box.h"
#include "texts/strings.h"
#include "ini/change_notice.h"
#include "ini/profile_file.h"
#include "launch/activation_rules.h"
#include "bar/icon_strip.h"
#include "launch/shortcut.h"
#include "res/resource.h"

namespace {


constexpr wchar_t kIconPattern[] = L"*.ico";
constexpr wchar_t kIconFilters[] =
    L"Icon files\0*.ico\0Executable\0*.exe\0Dynamic link lib.\0*.dll;*.drv\0All files\0*.*\0";

bool IsExistingFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "" when the file has no short path (the file system keeps none).
std::string ShortPathOf(const std::string &path)
{
    const DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
    std::string shortened(size, '\0');
    const DWORD n = size ? GetShortPathNameA(path.c_str(), shortened.data(), size) : 0;
    return n > 0 && n < size ? shortened.substr(0, n) : std::string();
}

ProgramDefinitionState &StateOf(HWND dlg)
{
    return *reinterpret_cast<ProgramDefinitionState *>(GetWindowLongPtrA(dlg, DWLP_USER));
}

Language LanguageOf(HWND dlg)
{
    return StateOf(dlg).bar->settings.language();
}

// A field's whole text: a stored or chosen text may be longer than what can be typed.
std::string ReadField(HWND dlg, int id)
{
    const HWND field = GetDlgItem(dlg, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The same as the field holds it, before the code page has a say.
std::wstring ReadWideField(HWND dlg, int id)
{
    const HWND field = GetDlgItem(dlg, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Enable(HWND dlg, int id, bool on)
{
    EnableWindow(GetDlgItem(dlg, id), on ? TRUE : FALSE);
}

// The field gets a new text, all of it selected, and the focus.
void PutChosenText(HWND dlg, int id, const std::string &text)
{
    SetDlgItemTextA(dlg, id, text.c_str());
    SendDlgItemMessageA(dlg, id, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, id));
}

int IconCount(const std::string &file)
{
    const IconSource source = ResolveIconSource(file.c_str(), 0);
    const auto n = reinterpret_cast<UINT_PTR>(ExtractIconW(ResourceModule(), source.file.c_str(), static_cast<UINT>(-1)));
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
}

// The preview takes the icon at the current index from `file`; the static
// shows it on its next paint. ExtractIconW answers 1 for a file that holds
// no icons, which is no icon either.
void DrawPreview(HWND dlg, const std::string &file)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const IconSource source = ResolveIconSource(file.c_str(), s.icons.index);
    HICON icon = ExtractIconW(ResourceModule(), source.file.c_str(), static_cast<UINT>(source.index));
    if (reinterpret_cast<UINT_PTR>(icon) == 1)
        icon = nullptr;
    s.previewIcon.Reset(icon);
    InvalidateRect(GetDlgItem(dlg, IDC_PREVIEW), nullptr, TRUE);
}

// The static draws its frame; inside it the icon stands centred on
// light grey. Painting here rather than from the dialog keeps the picture
// when the dialog's own background erase runs over its children.
LRESULT CALLBACK PreviewProc(HWND preview, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto *s = reinterpret_cast<const ProgramDefinitionState *>(GetWindowLongPtrA(preview, GWLP_USERDATA));
    const LRESULT result = CallWindowProcA(s->previewFrameProc, preview, msg, wParam, lParam);
    if (msg == WM_PAINT) {
        RECT r{};
        GetClientRect(preview, &r);
        const WindowDc dc(preview);
        IntersectClipRect(dc.get(), r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        const HICON icon = s->previewIcon ? s->previewIcon.get()
                                          : LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM));
        DrawIconCentred(preview, dc.get(), r, icon);
    }
    return result;
}

void OnProgramChanged(HWND dlg)
{
    const std::string program = ReadField(dlg, IDC_PROGRAM);
    Enable(dlg, IDOK, !program.empty());
    if (IsDlgButtonChecked(dlg, IDC_INTERLOCK) == BST_CHECKED)
        SetDlgItemTextA(dlg, IDC_ICON_FILE, InterlockIconFile(program).c_str());
}

void OnIconFileChanged(HWND dlg)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const std::string text = ReadField(dlg, IDC_ICON_FILE);
    Enable(dlg, IDOK, !text.empty());
    const std::string file = IconCountFile(text, IsExistingFile);
    const int count = IconCount(file);
    s.icons = ApplyIconCount(count, s.icons.index);
    if (count > 0)
        DrawPreview(dlg, file);
    const HWND scroll = GetDlgItem(dlg, IDC_ICON_INDEX);
    SetScrollRange(scroll, SB_CTL, 0, s.icons.highest, TRUE);
    SetScrollPos(scroll, SB_CTL, s.icons.index, TRUE);
}

void OnInitDialog(HWND dlg, ProgramDefinitionState &s)
{
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(&s));
    s.icons = {};
    const HWND preview = GetDlgItem(dlg, IDC_PREVIEW);
    SetWindowLongPtrA(preview, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&s));
    s.previewFrameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewProc)));

    for (int id : {IDC_PROGRAM, IDC_DIRECTORY, IDC_ICON_FILE, IDC_TITLE})
        SendDlgItemMessageA(dlg, id, EM_LIMITTEXT, kFieldEditLimit, 0);
    Enable(dlg, IDOK, false);
    Enable(dlg, IDC_REMOVE, false);

    const ProgramFields f = FieldsFromStoredValue(s.storedValue);
    if (!s.storedValue.empty()) {
        s.icons.index = f.iconIndex;
        CheckDlgButton(dlg, IDC_RUN_MINIMIZED, f.runMinimized ? BST_CHECKED : BST_UNCHECKED);
        Enable(dlg, IDC_REMOVE, true);
    }
    // Each is a change of its field, so the change rules run. The interlock
    // box is not checked yet: the stored icon file is never overwritten here.
    SetDlgItemTextA(dlg, IDC_PROGRAM, f.program.c_str());
    SetDlgItemTextA(dlg, IDC_DIRECTORY, f.directory.c_str());
    SetDlgItemTextA(dlg, IDC_ICON_FILE, f.iconFile.c_str());
    SendDlgItemMessageA(dlg, IDC_PROGRAM, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, IDC_PROGRAM));
    CheckDlgButton(dlg, IDC_INTERLOCK, BST_CHECKED);
    SetDlgItemTextA(dlg, IDC_TITLE, s.storedTitle.c_str());
}

void OnScroll(HWND dlg, int code, int thumb)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const std::optional<int> index = ScrolledIconIndex(code, thumb, s.icons);
    if (!index)
        return;
    s.icons.index = *index;
    SetScrollPos(GetDlgItem(dlg, IDC_ICON_INDEX), SB_CTL, s.icons.index, TRUE);
    DrawPreview(dlg, ReadField(dlg, IDC_ICON_FILE));
}

// The chosen path as a field of the entry can hold it; nothing when cancelled or refused (the
// user is told).
std::optional<std::string> EntryPath(HWND dlg, const std::optional<std::wstring> &chosen)
{
    return chosen ? UsablePathOrTell(dlg, LanguageOf(dlg), *chosen, PathUse::EntryField) : std::nullopt;
}

// Both choosers start from the icon file field, which usually names the program too.
void OnBrowseProgram(HWND dlg)
{
    if (const auto path = EntryPath(dlg, ChooseProgram(dlg, LoadTavText(LanguageOf(dlg), IDS_BROWSE_PROGRAM), ReadWideField(dlg, IDC_ICON_FILE))))
        PutChosenText(dlg, IDC_PROGRAM, QuotedPath(*path));
}

void OnBrowseIcon(HWND dlg)
{
    const std::wstring initial = ReadWideField(dlg, IDC_ICON_FILE);
    const auto chosen =
        ChooseFile(dlg, LoadTavText(LanguageOf(dlg), IDS_BROWSE_ICON), kIconFilters, initial.empty() ? kIconPattern : initial, kChooserFlags);
    if (const auto path = EntryPath(dlg, chosen))
        PutChosenText(dlg, IDC_ICON_FILE, *path);
}

// A path field's text as the entry can hold it: as typed, or the short path of the file or
// folder it names when the text holds a comma or tab (or a character of no code page form);
// nothing when there is no such path.
std::optional<std::string> EntryPathField(HWND dlg, int id)
{
    const CodePagePath spelled = SpellPath(ReadWideField(dlg, id), PathUse::EntryField);
    if (spelled.refusal == PathRefusal::None)
        return spelled.path;
    MessageBeep(MB_ICONHAND);
    SendDlgItemMessageA(dlg, id, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, id));
    return std::nullopt;
}

void OnOk(HWND dlg)
{
    const ProgramDefinitionState &s = StateOf(dlg);
    ProgramFields f;
    f.runMinimized = IsDlgButtonChecked(dlg, IDC_RUN_MINIMIZED) == BST_CHECKED;
    f.program = ReadField(dlg, IDC_PROGRAM);
    f.iconIndex = s.icons.index;
    // An empty program or icon file keeps the dialog open silently; a directory or icon file
    // that would end its field early, with a beep.
    if (f.program.empty() || !GetWindowTextLengthW(GetDlgItem(dlg, IDC_ICON_FILE)))
        return;
    // A program path a click would cut short is stored as one it reads whole, or refused.
    const ProgramToStore program = ProgramFieldToStore(f.program, IsExistingFile, ShortPathOf);
    if (!program.refused.empty()) {
        TellUser(dlg, LanguageOf(dlg), IDS_PATH_HAS_DELIMITER, BoxKind::Warning, L"\n\n" + WideFromCodePage(program.refused));
        SendDlgItemMessageA(dlg, IDC_PROGRAM, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dlg, IDC_PROGRAM));
        return;
    }
    f.program = program.text;
    const std::optional<std::string> directory = EntryPathField(dlg, IDC_DIRECTORY);
    const std::optional<std::string> iconFile = directory ? EntryPathField(dlg, IDC_ICON_FILE) : std::nullopt;
    if (!iconFile)
        return;
    f.directory = *directory;
    f.iconFile = *iconFile;
    const std::optional<std::string> value = StoredValueFromFields(f);
    if (!value)
        return;
    // An empty title is written as an empty value: the key stays. What was not stored keeps
    // the dialog open, announced as nothing.
    if (!WriteSlotKeys(s.slotNumber, *value, ReadField(dlg, IDC_TITLE)))
        return TellNotStored(dlg, LanguageOf(dlg));
    RenderSlotCell(*s.bar, s.slotButton, s.slotNumber, f.iconFile.c_str(), StoredIconIndex(f.iconIndex, f.runMinimized));
    BroadcastChangeNotice(NoticeChanged);
    EndDialog(dlg, IDOK);
}

void OnRemove(HWND dlg)
{
    // Only a slot that had a program when the dialog opened can lose it.
    if (!IsWindowEnabled(GetDlgItem(dlg, IDC_REMOVE)))
        return;
    const ProgramDefinitionState &s = StateOf(dlg);
    if (!WriteSlotKeys(s.slotNumber, std::nullopt, std::nullopt))
        return TellNotStored(dlg, LanguageOf(dlg));
    RenderSlotCell(*s.bar, s.slotButton, s.slotNumber, nullptr, 0);
    BroadcastChangeNotice(NoticeChanged);
    EndDialog(dlg, IDC_REMOVE);
}

void OnCommand(HWND dlg, int id, int code)
{
    switch (id) {
    case IDC_PROGRAM:
        if (code == EN_CHANGE)
            OnProgramChanged(dlg);
        break;
    case IDC_ICON_FILE:
        if (code == EN_CHANGE)
            OnIconFileChanged(dlg);
        break;
    case IDC_BROWSE_PROGRAM: OnBrowseProgram(dlg); break;
    case IDC_BROWSE_ICON: OnBrowseIcon(dlg); break;
    case IDOK: OnOk(dlg); break;
    case IDC_REMOVE: OnRemove(dlg); break;
    case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
    default: break;
    }
}

INT_PTR CALLBACK ProgramDefinitionProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        OnInitDialog(dlg, *reinterpret_cast<ProgramDefinitionState *>(lParam));
        return FALSE;  // the focus is already on the program name
    }
    // Messages before WM_INITDIALOG (the font, the creation) find no state yet.
    if (!GetWindowLongPtrA(dlg, DWLP_USER))
        return FALSE;
    switch (msg) {
    case WM_COMMAND: OnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_VSCROLL: OnScroll(dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_PAINT:
        // Repaints show the icon of the field's whole text; the painting itself is the default one.
        DrawPreview(dlg, ReadField(dlg, IDC_ICON_FILE));
        return FALSE;
    default: return FALSE;
    }
}

} // namespace

INT_PTR OpenProgramDefinition(const BarView &v, HWND owner, int slotNumber, HWND slotButton)
{
    // A slot of a file that cannot be read is not offered as empty.
    if (!ProfileReadable()) {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    ProgramDefinitionState state;
    state.bar = &v;
    state.slotNumber = slotNumber;
    state.slotButton = slotButton;
    // Shown and written back whole; a value beyond any real one is not offered cut.
    const std::optional<std::string> value = ReadProgramValue(ProfileKey(slotNumber));
    const std::optional<std::string> title = ReadProgramValue(TitleKey(slotNumber));
    if (!value || !title) {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    state.storedValue = *value;
    state.storedTitle = *title;
    const unsigned id = TavDialogId(v.settings.language(), DialogKind::ProgramDefinition);
    // Wide: the Japanese template's texts reach a Western system too.
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(id), owner, ProgramDefinitionProc,
                           reinterpret_cast<LPARAM>(&state));
}
