// The system-wide key that brings the bar forward, as "hot key" stores it: readable and
// hand-editable ("Ctrl+Alt+T"), read and written by this one rule in the bar and in tavctl.
// No Win32 here: the registration is the bar's, the hotkey control's word the dialog's.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Modifier bits as RegisterHotKey takes them (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
enum HotKeyModifier : unsigned { HotKeyAlt = 1, HotKeyCtrl = 2, HotKeyShift = 4, HotKeyWin = 8 };

struct HotKey {
    unsigned modifiers = 0;
    unsigned key = 0;  // a virtual-key code; 0: no hot key
    bool operator==(const HotKey &) const = default;
};

inline constexpr char kKeyHotKey[] = "hot key";
constexpr std::size_t kHotKeyBuffer = 64;  // what the bar reads of the value

// Modifiers and one key joined by '+' ("Ctrl+Alt+T", "Shift+Win+F5"), names without regard to
// case and blanks around each; an empty text or "none" is no hot key. Keys: letters, digits,
// F1 to F24, the names FormatHotKey writes, or "0x" and the hexadecimal virtual-key code. A
// key that types needs Ctrl, Alt or Win (a bare letter taken from every program would be lost
// to typing): only a function key may stand alone. Anything else is nothing (bad input).
std::optional<HotKey> ParseHotKey(std::string_view text);
// The stored form: "Ctrl+Alt+Shift+Win+KEY" in that order; "none" for no hot key.
std::string FormatHotKey(HotKey hotKey);

// The system's hotkey control holds a word: the key in the low byte, its HOTKEYF_ flags (Shift 1,
// Ctrl 2, Alt 4, extended 8) in the high byte. It knows no Win key. What the rule above refuses is no hot key.
HotKey HotKeyFromControl(unsigned word);
unsigned ControlWordOf(HotKey hotKey);
