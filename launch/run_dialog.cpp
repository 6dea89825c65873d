#include "launch/run_dialog.h"

#include "winkit/module.h"
#include "winkit/open_file_dialog.h"

#include "ini/code_page_path.h"
#include "texts/message_box.h"
#include "texts/strings.h"
#include "launch/activation_rules.h"
#include "launch/launch.h"

namespace {

// One opening of the dialog: the typed command, held while it is open.
struct RunDialogState {
    RunHistory *history;  // the launcher's, kept between openings; none: nothing remembered
    Language language;
    char command[kDialogTextBuffer];
};

void ReadCommand(HWND dialog, RunDialogState &state)
{
    state.command[0] = '\0';
    GetDlgItemTextA(dialog, IDC_RUN_COMMAND, state.command, sizeof state.command);
}

void InitDialog(HWND dialog, RunDialogState *state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const HWND combo = GetDlgItem(dialog, IDC_RUN_COMMAND);
    SetFocus(combo);
    // What can be typed is what is read back: at most one byte less than the buffer.
    SendMessageA(combo, CB_LIMITTEXT, kDialogTextBuffer - 1, 0);
    if (state->history)
        for (const std::string &item : state->history->entries)
            // Entries not yet used are not offered: the list would open on blank rows.
            if (!item.empty())
                SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Execute(HWND dialog, RunDialogState &state)
{
    ReadCommand(dialog, state);
    const StartPlan plan = PlanTypedCommand(state.command, IsSystemLeadByte);
    // An empty text, or one of only commas and tabs, names nothing to start.
    if (plan.program.empty()) {
        EndDialog(dialog, 1);
        return;
    }
    const WORD show = IsDlgButtonChecked(dialog, IDC_RUN_MINIMIZED) == BST_CHECKED ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (LaunchProgram(plan.program.c_str(), plan.arguments.c_str(),
                      plan.directory.empty() ? nullptr : plan.directory.c_str(), show, nullptr) < 32) {
        MessageBeep(MB_ICONHAND);
        SetFocus(GetDlgItem(dialog, IDC_RUN_COMMAND));
        return;
    }
    if (state.history)
        RememberRunCommand(*state.history, state.command, IsSystemLeadByte);
    EndDialog(dialog, 1);
}

void Browse(HWND dialog, Language language)
{
    const std::optional<std::wstring> chosen = ChooseProgram(dialog, LoadTavText(language, IDS_EXECUTE_TITLE));
    // The typed command ends its program at a comma or tab, and Execute reads what can be typed.
    const std::optional<std::string> path =
        chosen ? UsablePathOrTell(dialog, language, *chosen, PathUse::EntryField, kDialogTextBuffer - 1) : std::nullopt;
    if (!path)
        return;
    const HWND combo = GetDlgItem(dialog, IDC_RUN_COMMAND);
    SetWindowTextA(combo, path->c_str());
    SetFocus(combo);
}

INT_PTR CALLBACK RunDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        InitDialog(dialog, reinterpret_cast<RunDialogState *>(lParam));
        return FALSE;  // the focus is set already
    }
    auto *state = reinterpret_cast<RunDialogState *>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (msg != WM_COMMAND || !state)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: Execute(dialog, *state); return TRUE;
    case IDCANCEL: EndDialog(dialog, 1); return TRUE;
    case IDC_BROWSE_PROGRAM: Browse(dialog, state->language); return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR OpenRunDialog(HWND owner, RunHistory *history, Language language)
{
    RunDialogState state{history, language, {}};
    const unsigned id = TavDialogId(language, DialogKind::ExecuteApplication);
    // Wide: the Japanese template's texts reach a Western system too.
    DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(id), owner, RunDialogProc, reinterpret_cast<LPARAM>(&state));
    return 1;
}
