// TAV.INI as the bar reads and writes it, the change notice that follows
// every write, and the string table.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

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
// Whether TAV.INI can be read: false only when another program has held it
// open without sharing for all of kHeldProfileWaitMs (a backup or sync tool,
// a peer writing it). The profile functions would then read nothing, which
// must not pass for an empty file.
constexpr DWORD kHeldProfileWaitMs = 5000;
bool ProfileReadable();
// Puts TAV.BAK back over a TAV.INI that a rewrite left empty or cut (see
// ProfileLooksCut). Before anything reads the file at start.
void RestoreCutProfile();
// Reads only "Japan" (the first thing the bar's creation does).
int LoadLanguageOffset();

// Writes "mode", "startup page", "maximum pages", "buttons par page" and
// "position" (the bar's outer top-left) in one rewrite, when any differs from
// what is stored, then announces the change. False, with the user told and
// nothing announced, when the change could not be stored.
// `closing`: the bar is on its way out, so the box that tells of a failure has no owner.
bool SaveSettings(HWND bar, const BarSettings &settings, bool closing = false);

// From now on the changes are announced: the bar can be found by those it tells.
void StartChangeNotices();
// Sends "TAV_MESSAGE" with this code to every top-level window and waits
// until each has handled it, or for at most kNoticeTimeoutMs per window;
// windows of a thread that did not answer in time are passed over.
void BroadcastChangeNotice(LPARAM code);

// Held by every writer of TAV.INI for the whole of its change (the profile functions rewrite
// the file from what they read of it, so two writers at once would each put back the
// other's earlier keys), and by a reader that must see one whole file rather than one
// half rewritten. The named mutex is shared by this bar, a bar on another desktop and
// tavctl. A thread may take it again while it holds it.
constexpr DWORD kProfileLockTimeoutMs = 5000;
class ProfileLock {
public:
    ProfileLock();
    ~ProfileLock();
    ProfileLock(const ProfileLock &) = delete;
    ProfileLock &operator=(const ProfileLock &) = delete;
    // False when another writer kept it for all of kProfileLockTimeoutMs: nothing may be
    // written then (the writers of the bar refuse and say so).
    bool Held() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// The TAV.INI this user's bar reads: the Windows directory's, or the per-user copy once
// there is one.
std::string ProfilePath();

// A slot's keys, read into a buffer of the given size (the value is cut at
// size - 1 bytes, as the profile reader does). Missing reads as "".
int ReadProgramKey(const char *key, char *buffer, int size);
// A slot's key whole, however long: the buffer grows until the value fits.
// Nothing when it would not fit kLongestProgramValue; no reader cuts it.
constexpr int kLongestProgramValue = 16 * 1024 * 1024;
std::optional<std::string> ReadProgramValue(const std::string &key);
// Writes a slot's key (nullptr deletes it) when that changes it; every
// rewrite keeps the file before it as TAV.BAK. False when it could not be
// stored (see TellNotStored).
bool WriteProgramKey(const char *key, const char *value);
bool WriteProfileKey(const char *section, const char *key, const char *value);
// A section replaced whole by `text` ("key=value\0...\0\0", as SetSectionValues makes it) in
// one rewrite, when that changes it. False when it could not be stored.
bool WriteProfileSection(const char *section, const std::string &text);
// Exchanges both keys of slots a and b in one hold of the lock, writing even empty values.
// Nothing is written unless all four values were read whole (NotRead).
enum class SlotExchange { Done, NotRead, NotStored };
SlotExchange ExchangeProgramSlots(int a, int b);
// TAV.INI is read and written in the Windows directory or, once that could
// not be written, in the per-user copy under %LOCALAPPDATA%\VirtualStore
// that Windows' file virtualization keeps for 32-bit programs. When neither
// can be written a change is not stored: this tells the user, in the bar's
// language, once for the action that failed.
void TellNotStored(HWND owner);
// The whole of "program section" in one read, as GetPrivateProfileSectionA
// gives it ("key=value\0...\0\0"), for ParseProfileSection.
std::string ReadProgramSection();
std::string ReadEnvironmentSection();

// The string `base` in the current language (base + languageOffset), into
// `buffer` of `size` bytes. Returns the length copied.
int LoadTavString(unsigned base, char *buffer, int size);
// The same as UTF-16 text, whole: a Japanese text reaches a box on an
// English system too.
std::wstring LoadTavText(unsigned base);
// The template of dialog `kind` in the current language.
unsigned TavDialogId(DialogKind kind);
