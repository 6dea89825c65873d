#include "launch/slot_activation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "bar/program_dialog.h"
#include "launch/launch.h"
#include "syspanel/syspanel.h"
#include "tips/tooltip.h"


namespace {

constexpr int kMessageBuffer = 64;

const char *NoneIfEmpty(const std::string &text)
{
    return text.empty() ? nullptr : text.c_str();
}

// A string-table text in a message box with the platform's own caption.
void ShowNotice(HWND owner, unsigned stringBase)
{
    char text[kMessageBuffer];
    LoadTavString(gApp.instance, stringBase, text, sizeof text);
    MessageBoxA(owner, text, nullptr, MB_ICONINFORMATION);
}

// The system's own words for `error`, in its language, on one line; the
// number when it has none.
std::string SystemReason(DWORD error)
{
    char *text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<char *>(&text), 0, nullptr);
    std::string reason = n && text ? std::string(text, n) : "error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() && static_cast<unsigned char>(reason.back()) <= ' ')
        reason.pop_back();
    return reason;
}

// "Execute error", and below it what could not be started and why.
void ShowExecuteError(HWND bar, const std::string &program, DWORD error)
{
    char text[kMessageBuffer];
    LoadTavString(gApp.instance, IDS_EXECUTE_ERROR, text, sizeof text);
    const std::string message = std::string(text) + "\n" + program + ": " + SystemReason(error);
    MessageBoxA(bar, message.c_str(), nullptr, MB_ICONINFORMATION);
}

// Redraws the strip cell of `slot` with the icon of `iconFile` and repaints its button.
void RenderSlot(HWND button, int slot, const char *iconFile)
{
    RenderSlotCell(button, slot, iconFile, 0);
}

// The path of dropped file `index`, whole: the buffer is sized to it.
std::string DroppedPath(HDROP drop, UINT index)
{
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    std::vector<char> path(length + 1, '\0');
    DragQueryFileA(drop, index, path.data(), length + 1);
    return path.data();
}

void StartWithDroppedFiles(const std::string &value, HDROP drop, UINT count)
{
    const StartPlan plan = PlanDropStart(value);
    for (UINT i = 0; i < count; ++i) {
        // One start per file; a failure is not reported and the next file is tried.
        const std::string argument = QuotedPath(DroppedPath(drop, i));
        LaunchProgram(plan.program.c_str(), argument.c_str(), NoneIfEmpty(plan.directory), SW_SHOWNORMAL, nullptr);
    }
}

void RegisterDroppedFile(HWND button, int slot, HDROP drop)
{
    const std::string path = DroppedPath(drop, 0);
    // A drop without a readable file would register an entry with no program.
    if (path.empty())
        return;
    if (!WriteProgramKey(ProfileKey(slot).c_str(), DroppedFileEntry(path).c_str()))
        return TellNotStored(button);
    RenderSlot(button, slot, path.c_str());
    BroadcastChangeNotice(NoticeChanged);
}

} // namespace

void OnSlotCommand(HWND bar, int id, HWND button)
{
    if (gMove.on)
        return;
    // While the system panel is shown the cells are its actions, not programs.
    if (gSystemPanel.shown) {
        OnSystemPanelClick(bar, id);
        return;
    }
    CloseTooltip(bar);
    SetActiveWindow(bar);
    const int slot = SlotNumber(gSettings, id - kFirstSlotId);
    const std::string value = ReadProgramValue(ProfileKey(slot), kClickEntryBuffer);
    if (value.empty()) {
        // A command posted by another program may not name the button; the dialog repaints it.
        OpenProgramDefinition(bar, slot, button ? button : GetDlgItem(bar, id));
        return;
    }
    if (LaunchGuardRefuses(GetTickCount(), gApp.lastLaunchTick)) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    // Counted before the start: a start that then fails still holds the next click off.
    gApp.lastLaunchTick = GetTickCount();

    const StartPlan plan = PlanSlotStart(value, IsSystemLeadByte);
    const std::string title = ReadProgramValue(TitleKey(slot), kClickEntryBuffer);
    const WORD show = plan.runMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (LaunchProgram(plan.program.c_str(), plan.arguments.c_str(), NoneIfEmpty(plan.directory), show,
                      NoneIfEmpty(title)) < 32)
        ShowExecuteError(bar, plan.program, GetLastError());
}

LRESULT OnFilesDropped(HWND button, HDROP drop)
{
    const auto at = std::find(gButtons.slots.begin(), gButtons.slots.end(), button);
    if (at != gButtons.slots.end()) {
        const int slot = SlotNumber(gSettings, static_cast<int>(at - gButtons.slots.begin()));
        const std::string value = ReadProgramValue(ProfileKey(slot), kDropEntryBuffer);
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        if (!value.empty())
            StartWithDroppedFiles(value, drop, count);
        else if (!ProfileReadable())  // the slot may hold a program all the same
            MessageBeep(MB_ICONHAND);
        else if (count < 2)
            RegisterDroppedFile(button, slot, drop);
        else
            ShowNotice(button, IDS_MULTI_DROP);
    }
    DragFinish(drop);
    return 0;
}

void CreateRunHistory() { gLauncher.runHistory = std::make_unique<RunHistory>(); }
void FreeRunHistory() { gLauncher.runHistory.reset(); }
