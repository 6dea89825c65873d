#include "syspanel/syspanel.h"

#include "texts/message_box.h"
#include "res/resource.h"
#include "syspanel/panel_rules.h"

namespace {

// The bar's own process asks for the right to end the session; where the
// platform has no process tokens the calls fail and the request is still made.
void EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

} // namespace

bool RunPanelAction(HWND bar, const BarSettings &settings, int action)
{
    if (action >= kPanelActions)
        return false;
    // For every cell, blank ones included, before the action is chosen.
    EnableShutdownPrivilege();
    switch (action) {
    case PanelShutDown:
        SaveSettingsOrTell(bar, settings);
        ExitWindowsEx(EWX_SHUTDOWN, 0);
        break;
    case PanelLogOff:
        // Saved here and again by the teardown: the session may end before the bar's turn.
        SaveSettingsOrTell(bar, settings);
        ExitWindowsEx(EWX_LOGOFF, 0);
        DestroyWindow(bar);
        break;
    case PanelRestart:
        SaveSettingsOrTell(bar, settings);
        ExitWindowsEx(EWX_REBOOT, 0);
        break;
    case PanelQuit:
        DestroyWindow(bar);  // the teardown saves the settings
        break;
    case PanelRun:
        return true;
    }
    return false;
}
