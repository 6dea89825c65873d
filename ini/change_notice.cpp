#include "ini/change_notice.h"

#include <algorithm>
#include <vector>

namespace {

// "TAV_MESSAGE", registered once the bar can be found; before that there is nothing to announce with.
UINT noticeId = 0;

BOOL CALLBACK CollectWindow(HWND w, LPARAM list)
{
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
    return TRUE;
}

} // namespace

void StartChangeNotices()
{
    noticeId = RegisterWindowMessageA(kChangeNoticeName);
}

void BroadcastChangeNotice(LPARAM code)
{
    if (!noticeId)
        return;
    // Every top-level window that answers gets the notice, as a broadcast would
    // give it; but a hung program must not stop the bar. Each window is waited
    // for a bounded time, and once one window of a thread has not answered, the
    // rest of that thread's windows are passed over in this notice.
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<DWORD> silentThreads;
    for (HWND w : windows) {
        const DWORD thread = GetWindowThreadProcessId(w, nullptr);
        if (thread == 0 || std::find(silentThreads.begin(), silentThreads.end(), thread) != silentThreads.end())
            continue;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(w, noticeId, 0, code, SMTO_NORMAL | SMTO_ABORTIFHUNG, kNoticeTimeoutMs, &answer) &&
            IsWindow(w))
            silentThreads.push_back(thread);
    }
}
