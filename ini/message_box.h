// Every message box of the bar: a string-table text in the bar's language,
// shown with the wide calls (a Japanese text reaches a Western system too),
// owned by the window the user is in and placed beside it.
#pragma once
#include <windows.h>

#include <string>

enum class BoxKind {
    Described,  // a text the bar has always shown this way: the system's caption, the information icon
    Warning,    // something asked for did not happen: "TAV!", the warning icon
    Question,   // Yes or No, No the default: "TAV!", the question icon
};

// `text` in a box of `kind` owned by `owner`'s top-level window (the bar, or a dialog of
// the bar's that is open; none: a box of its own), beside that window and on its monitor.
// Returns the button that closed it.
int ShowBox(HWND owner, const std::wstring &text, BoxKind kind);
// The string `base` in the bar's language, with `detail` after it.
int TellUser(HWND owner, unsigned base, BoxKind kind, const std::wstring &detail = std::wstring());
