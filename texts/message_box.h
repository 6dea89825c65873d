// Every message box of the bar: a string-table text in the bar's language,
// shown with the wide calls (a Japanese text reaches a Western system too),
// owned by the window the user is in and placed beside it.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "ini/code_page_path.h"
#include "ini/settings_rules.h"

enum class BoxKind {
    Described,  // a text the bar has always shown this way: the system's caption, the information icon
    Warning,    // something asked for did not happen: "TAV!", the warning icon
    Question,   // Yes or No, No the default: "TAV!", the question icon
};

// `text` in a box of `kind` owned by `owner`'s top-level window (the bar, or a dialog of
// the bar's that is open; none: a box of its own), beside that window and on its monitor.
// Returns the button that closed it.
int ShowBox(HWND owner, const std::wstring &text, BoxKind kind);
// The string `base` in `language`, with `detail` after it.
int TellUser(HWND owner, Language language, unsigned base, BoxKind kind, const std::wstring &detail = std::wstring());

// TAV.INI is read and written in the Windows directory or, once that could
// not be written, in the per-user copy under %LOCALAPPDATA%\VirtualStore
// that Windows' file virtualization keeps for 32-bit programs. When neither
// can be written a change is not stored: this tells the user, once for the
// action that failed.
void TellNotStored(HWND owner, Language language);
// SaveSettings, with a failure told: owned by the bar, or by nothing for a bar on its way out.
bool SaveSettingsOrTell(HWND bar, const BarSettings &settings, bool closing = false);

// SpellPath; a refusal is told in a box owned by `owner` that names the
// file, or, for a path only too long, by a beep.
std::optional<std::string> UsablePathOrTell(HWND owner, Language language, const std::wstring &wide, PathUse use,
                                            std::size_t longest = SIZE_MAX);
