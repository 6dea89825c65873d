// TAV.INI as the bar reads and writes it, the change notice that follows
// every write, and the string table.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "ini/profile_file.h"
#include "ini/settings_rules.h"

// "environment section" as the bar holds it: read when the bar is created and
// by every reload, changed by the Properties dialog and the page buttons,
// written back only by SaveSettings. Its language also picks every string.
extern BarSettings gSettings;

// What this process knows of the file itself.
struct ProfileState {
    // False while the settings held were never read from TAV.INI (another program held it
    // all through the start): SaveSettings then writes nothing over the user's.
    bool settingsLoaded = false;
    UINT changeNoticeId = 0;  // "TAV_MESSAGE", registered once the bar can be found
};
extern ProfileState gProfile;

// How other programs find the bar (a reload is WM_USER sent to it) and hear of every change.
inline constexpr char kBarClassName[] = "TAV!";
inline constexpr char kBarTitle[] = "TAV!";
inline constexpr char kChangeNoticeName[] = "TAV_MESSAGE";
constexpr UINT kNoticeTimeoutMs = 1000;
enum ChangeNoticeCode : LPARAM { NoticeChanged = 0, NoticeStarted = 1, NoticeEnded = 2 };

// Reads "environment section" into `settings` (start-up form: also "Japan"
// and "startup page"; reload form: keeps language and page) and returns the
// stored position.
BarPosition LoadSettings(bool startup, BarSettings &settings);
// Reads only "Japan" (the first thing the bar's creation does).
int LoadLanguageOffset();

// Writes "mode", "startup page", "maximum pages", "buttons par page",
// "position" (the bar's outer top-left) and "hot key" as one change, each only when the bar
// holds another value than its stored text reads as (so a hand-written "0x8000"
// stays as it is), then announces the change. False, with the user told and
// nothing announced, when the change could not be stored.
// `closing`: the bar is on its way out, so the box that tells of a failure has no owner.
bool SaveSettings(HWND bar, const BarSettings &settings, bool closing = false);

// From now on the changes are announced: the bar can be found by those it tells.
void StartChangeNotices();
// Sends "TAV_MESSAGE" with this code to every top-level window and waits
// until each has handled it, or for at most kNoticeTimeoutMs per window;
// windows of a thread that did not answer in time are passed over.
void BroadcastChangeNotice(LPARAM code);

// TAV.INI is read and written in the Windows directory or, once that could
// not be written, in the per-user copy under %LOCALAPPDATA%\VirtualStore
// that Windows' file virtualization keeps for 32-bit programs. When neither
// can be written a change is not stored: this tells the user, in the bar's
// language, once for the action that failed.
void TellNotStored(HWND owner);
// The string `base` in the current language (base + languageOffset), as
// UTF-16 text, whole: a Japanese text reaches a box on an English system too.
std::wstring LoadTavText(unsigned base);
// The template of dialog `kind` in the current language.
unsigned TavDialogId(DialogKind kind);
