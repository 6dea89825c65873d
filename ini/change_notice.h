// How other programs find the bar (a reload is WM_USER sent to it) and hear
// of every change of TAV.INI.
#pragma once
#include <windows.h>

inline constexpr char kBarClassName[] = "TAV!";
inline constexpr char kBarTitle[] = "TAV!";
inline constexpr char kChangeNoticeName[] = "TAV_MESSAGE";
constexpr UINT kNoticeTimeoutMs = 1000;
enum ChangeNoticeCode : LPARAM { NoticeChanged = 0, NoticeStarted = 1, NoticeEnded = 2 };

// From now on the changes are announced: the bar can be found by those it tells.
void StartChangeNotices();
// Sends "TAV_MESSAGE" with this code to every top-level window and waits
// until each has handled it, or for at most kNoticeTimeoutMs per window;
// windows of a thread that did not answer in time are passed over.
void BroadcastChangeNotice(LPARAM code);
