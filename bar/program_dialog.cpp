#include "bar/program_dialog.h"

#include "app/open_file_dialog.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "bar/icon_strip.h"
#include "launch/shortcut.h"
#include "res/resource_ids.h"

namespace {

enum ControlId : int {
    IdRemove = 3,
    IdBrowseProgram = 1001,
    IdBrowseIcon = 1002,
    IdRunMinimized = 1005,
    IdProgram = 1006,
    IdIconFile = 1007,
    IdPreview = 1008,
    IdDirectory = 1009,
    IdIconIndex = 1010,
    IdInterlock = 1011,
    IdTitle = 1012,
};

// A stored value is read whole before it is cut into fields.
constexpr int kValueBuffer = 2048;
constexpr int kTitleStringBuffer = 64;
constexpr char kProgramPattern[] = "*.exe;*.com;*.pif;*.cmd";
constexpr char kProgramFilters[] = "Executable\0*.exe;*.com;*.pif;*.cmd\0All files\0*.*\0";
constexpr char kIconPattern[] = "*.ico";
constexpr char kIconFilters[] =
    "Icon files\0*.ico\0Executable\0*.exe\0Dynamic link lib.\0*.dll;*.drv\0All files\0*.*\0";

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

bool IsExistingFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProgramDefinitionState &StateOf(HWND dlg)
{
    return *reinterpret_cast<ProgramDefinitionState *>(GetWindowLongPtrA(dlg, DWLP_USER));
}

// A field's text as the dialog uses it: at most 127 bytes, never half a
// double-byte character.
std::string ReadField(HWND dlg, int id)
{
    const HWND field = GetDlgItem(dlg, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return FitField(text, IsSystemLeadByte);
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
    const auto n = reinterpret_cast<UINT_PTR>(ExtractIconW(gApp.instance, source.file.c_str(), static_cast<UINT>(-1)));
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
}

// The preview takes the icon at the current index from `file`; the static
// shows it on its next paint. ExtractIconW answers 1 for a file that holds
// no icons, which is no icon either.
void DrawPreview(HWND dlg, const std::string &file)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const IconSource source = ResolveIconSource(file.c_str(), s.icons.index);
    HICON icon = ExtractIconW(gApp.instance, source.file.c_str(), static_cast<UINT>(source.index));
    if (reinterpret_cast<UINT_PTR>(icon) == 1)
        icon = nullptr;
    s.previewIcon.Reset(icon);
    InvalidateRect(GetDlgItem(dlg, IdPreview), nullptr, TRUE);
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
                                          : LoadIconA(gApp.instance, MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM));
        DrawIcon(dc.get(), r.right / 2 - 16, r.bottom / 2 - 16, icon);
    }
    return result;
}

void OnProgramChanged(HWND dlg)
{
    const std::string program = ReadField(dlg, IdProgram);
    Enable(dlg, IDOK, !program.empty());
    if (IsDlgButtonChecked(dlg, IdInterlock) == BST_CHECKED)
        SetDlgItemTextA(dlg, IdIconFile, InterlockIconFile(program).c_str());
}

void OnIconFileChanged(HWND dlg)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const std::string text = ReadField(dlg, IdIconFile);
    Enable(dlg, IDOK, !text.empty());
    const std::string file = IconCountFile(text, IsExistingFile);
    const int count = IconCount(file);
    s.icons = ApplyIconCount(count, s.icons.index);
    if (count > 0)
        DrawPreview(dlg, file);
    const HWND scroll = GetDlgItem(dlg, IdIconIndex);
    SetScrollRange(scroll, SB_CTL, 0, s.icons.highest, TRUE);
    SetScrollPos(scroll, SB_CTL, s.icons.index, TRUE);
}

void OnInitDialog(HWND dlg, ProgramDefinitionState &s)
{
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(&s));
    s.icons = {};
    const HWND preview = GetDlgItem(dlg, IdPreview);
    SetWindowLongPtrA(preview, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&s));
    s.previewFrameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewProc)));

    for (int id : {IdProgram, IdDirectory, IdIconFile})
        SendDlgItemMessageA(dlg, id, EM_LIMITTEXT, kFieldEditLimit, 0);
    Enable(dlg, IDOK, false);
    Enable(dlg, IdRemove, false);

    const std::string value = ReadProgramValue(ProfileKey(s.slotNumber), kValueBuffer);
    const ProgramFields f = FieldsFromStoredValue(value, IsSystemLeadByte);
    if (!value.empty()) {
        s.icons.index = f.iconIndex;
        CheckDlgButton(dlg, IdRunMinimized, f.runMinimized ? BST_CHECKED : BST_UNCHECKED);
        Enable(dlg, IdRemove, true);
    }
    // Each is a change of its field, so the change rules run. The interlock
    // box is not checked yet: the stored icon file is never overwritten here.
    SetDlgItemTextA(dlg, IdProgram, f.program.c_str());
    SetDlgItemTextA(dlg, IdDirectory, f.directory.c_str());
    SetDlgItemTextA(dlg, IdIconFile, f.iconFile.c_str());
    SendDlgItemMessageA(dlg, IdProgram, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, IdProgram));
    CheckDlgButton(dlg, IdInterlock, BST_CHECKED);
    SetDlgItemTextA(dlg, IdTitle, FitField(ReadProgramValue(TitleKey(s.slotNumber), kValueBuffer), IsSystemLeadByte).c_str());
}

void OnScroll(HWND dlg, int code, int thumb)
{
    ProgramDefinitionState &s = StateOf(dlg);
    const std::optional<int> index = ScrolledIconIndex(code, thumb, s.icons);
    if (!index)
        return;
    s.icons.index = *index;
    SetScrollPos(GetDlgItem(dlg, IdIconIndex), SB_CTL, s.icons.index, TRUE);
    DrawPreview(dlg, ReadField(dlg, IdIconFile));
}

// The open-file dialog over a 128-byte file buffer that starts as `initial`.
bool ChooseFile(HWND dlg, unsigned titleId, const char *filters, const std::string &initial, std::string &chosen)
{
    char title[kTitleStringBuffer] = {};
    LoadTavString(gApp.instance, titleId, title, sizeof title);
    char file[kFieldChars + 1] = {};
    lstrcpynA(file, initial.c_str(), sizeof file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = dlg;
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!OpenFileDialog(ofn))
        return false;
    chosen = file;
    return true;
}

void OnBrowseProgram(HWND dlg)
{
    // The chooser starts from the icon file, which usually names the program.
    const std::string initial = ReadField(dlg, IdIconFile);
    std::string chosen;
    if (!ChooseFile(dlg, IDS_BROWSE_PROGRAM, kProgramFilters, initial.empty() ? kProgramPattern : initial, chosen))
        return;
    const std::optional<std::string> text = BrowsedProgramText(chosen);
    if (!text) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    PutChosenText(dlg, IdProgram, *text);
}

void OnBrowseIcon(HWND dlg)
{
    const std::string initial = ReadField(dlg, IdIconFile);
    std::string chosen;
    if (ChooseFile(dlg, IDS_BROWSE_ICON, kIconFilters, initial.empty() ? kIconPattern : initial, chosen))
        PutChosenText(dlg, IdIconFile, chosen);
}

void OnOk(HWND dlg)
{
    const ProgramDefinitionState &s = StateOf(dlg);
    ProgramFields f;
    f.runMinimized = IsDlgButtonChecked(dlg, IdRunMinimized) == BST_CHECKED;
    f.program = ReadField(dlg, IdProgram);
    f.directory = ReadField(dlg, IdDirectory);
    f.iconFile = ReadField(dlg, IdIconFile);
    f.iconIndex = s.icons.index;
    const std::optional<std::string> value = StoredValueFromFields(f);
    if (!value)
        return;  // an empty program or icon file: the dialog stays open
    // An empty title is written as an empty value: the key stays. What was not stored keeps
    // the dialog open, announced as nothing.
    if (!WriteProgramKey(ProfileKey(s.slotNumber).c_str(), value->c_str()) ||
        !WriteProgramKey(TitleKey(s.slotNumber).c_str(), ReadField(dlg, IdTitle).c_str()))
        return TellNotStored(dlg);
    RenderSlotCell(s.slotButton, s.slotNumber, f.iconFile.c_str(), StoredIconIndex(f.iconIndex, f.runMinimized));
    BroadcastChangeNotice(NoticeChanged);
    EndDialog(dlg, IDOK);
}

void OnRemove(HWND dlg)
{
    // Only a slot that had a program when the dialog opened can lose it.
    if (!IsWindowEnabled(GetDlgItem(dlg, IdRemove)))
        return;
    const ProgramDefinitionState &s = StateOf(dlg);
    if (!WriteProgramKey(ProfileKey(s.slotNumber).c_str(), nullptr) ||
        !WriteProgramKey(TitleKey(s.slotNumber).c_str(), nullptr))
        return TellNotStored(dlg);
    RenderSlotCell(s.slotButton, s.slotNumber, nullptr, 0);
    BroadcastChangeNotice(NoticeChanged);
    EndDialog(dlg, IdRemove);
}

void OnCommand(HWND dlg, int id, int code)
{
    switch (id) {
    case IdProgram:
        if (code == EN_CHANGE)
            OnProgramChanged(dlg);
        break;
    case IdIconFile:
        if (code == EN_CHANGE)
            OnIconFileChanged(dlg);
        break;
    case IdBrowseProgram: OnBrowseProgram(dlg); break;
    case IdBrowseIcon: OnBrowseIcon(dlg); break;
    case IDOK: OnOk(dlg); break;
    case IdRemove: OnRemove(dlg); break;
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
        DrawPreview(dlg, ReadField(dlg, IdIconFile));
        return FALSE;
    default: return FALSE;
    }
}

} // namespace

INT_PTR OpenProgramDefinition(HWND owner, int slotNumber, HWND slotButton)
{
    // A slot of a file that cannot be read is not offered as empty.
    if (!ProfileReadable()) {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    ProgramDefinitionState state;
    state.slotNumber = slotNumber;
    state.slotButton = slotButton;
    const unsigned id = DialogId(DialogKind::ProgramDefinition, gSettings.languageOffset);
    return DialogBoxParamA(gApp.instance, MAKEINTRESOURCEA(id), owner, ProgramDefinitionProc,
                           reinterpret_cast<LPARAM>(&state));
}
