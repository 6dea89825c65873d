// The bar's settings as they live in "environment section" of TAV.INI, and
// the rules that turn the stored text into BarSettings and back. No Win32
// here: the profile reads and writes are in settings.cpp.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini/hot_key_rules.h"
#include "res/resource.h"

// The "mode" word. Bits 4 to 10 mean nothing and are kept as read.
enum ModeFlags : unsigned {
    CornerMask = 0x000F,
    PageButtonsFirst = 0x0800,
    NoTooltips = 0x1000,
    SmallButtons = 0x2000,
    Topmost = 0x4000,
    Vertical = 0x8000,
};

constexpr int kMinButtonsPerPage = 5;
constexpr int kMaxButtonsPerPage = 20;
constexpr int kMaxPages = 20;
constexpr int kLargeCell = 38;
constexpr int kSmallCell = 30;

// Which set of strings and dialog templates the bar shows, handed to whatever loads one.
struct Language {
    int offset = 1;  // 0 Japanese, 1 English: what StringId and DialogId take
};

struct BarSettings {
    unsigned mode = 0;
    int maximumPages = 1;
    int currentPage = 1;  // 1-based
    int cellSize = kLargeCell;
    int columns = 5;
    int rows = 1;
    int languageOffset = 1;  // 0 Japanese, 1 English
    HotKey hotKey{};         // none unless the user set one
    // False while these were never read from TAV.INI (another program held it all through
    // the start): they are then never saved over the user's.
    bool fromFile = false;

    Language language() const { return {languageOffset}; }
};

// Profile section, key names and file name, exactly as stored.
inline constexpr char kIniFile[] = "TAV.INI";
// TAV.INI as it was before the last change of it, beside it.
inline constexpr char kIniBackupFile[] = "TAV.BAK";
inline constexpr char kEnvironmentSection[] = "environment section";
inline constexpr char kProgramSection[] = "program section";
inline constexpr char kKeyMode[] = "mode";
inline constexpr char kKeyPosition[] = "position";
inline constexpr char kKeyButtonsPerPage[] = "buttons par page";
inline constexpr char kKeyStartupPage[] = "startup page";
inline constexpr char kKeyMaximumPages[] = "maximum pages";
inline constexpr char kKeyJapan[] = "Japan";
// The named mutex every writer of TAV.INI holds while it writes: this bar,
// another bar on another desktop, and any tool of this project.
inline constexpr char kIniWriterLock[] = "TAV_INI_WRITER";

// Defaults handed to the profile reader.
constexpr int kDefaultMode = 0;
constexpr int kDefaultButtonsPerPage = 5;
constexpr int kDefaultStartupPage = 1;
constexpr int kDefaultMaximumPages = 1;
// "Japan" defaults to Japanese (0) on a double-byte system, English (1) elsewhere.
constexpr int DefaultJapan(bool dbcsEnabled) { return dbcsEnabled ? 0 : 1; }

// The integers as the profile reader returned them (before any rule), and
// the text of "position".
struct RawSettings {
    long long japan = 1;
    long long mode = kDefaultMode;
    long long maximumPages = kDefaultMaximumPages;
    long long startupPage = kDefaultStartupPage;
    long long buttonsPerPage = kDefaultButtonsPerPage;
    std::string position;
    std::string hotKey;  // the text of "hot key"
};

struct BarPosition {
    int x = 0;
    int y = 0;
};

// Buffer sizes for "position": the start-up read keeps at most 15 characters.
constexpr std::size_t kStartupPositionBuffer = 16;
constexpr std::size_t kReloadPositionBuffer = 256;

// Applies the read rules to `settings`. At start-up every key counts; a
// reload keeps the language and the current page (clamped to the new page
// count so the bar never shows a page that does not exist).
BarPosition ApplyRawSettings(const RawSettings &raw, bool startup, BarSettings &settings);

// An integer key read from its text exactly as the system's integer reader of
// profiles reads it, so that every program on the same TAV.INI sees the same
// number: at most kIntegerBuffer - 1 characters; a missing key or an empty
// value gives `def`; else leading blanks (every character up to ' '), one
// optional sign, then "0x" hexadecimal, "0o" octal or "0b" binary (lower-case
// prefixes only) or else decimal digits, up to the first character that is not
// a digit of the base (none: 0). The number wraps at 32 bits and is read as a
// signed 32-bit value ("4294967295" is -1), as Windows and Wine both do.
constexpr std::size_t kIntegerBuffer = 30;
int ProfileInt(const char *text, int def);

// Values a hand edit can put outside what the program writes are clamped so
// the bar cannot fail on them.
int ClampButtonsPerPage(long long n);  // 5 .. 20, the lengths the bar can be dragged to
int ClampMaximumPages(long long n);    // 1 .. 20
int ClampPage(long long page, int maximumPages);
unsigned ModeFromRaw(long long v);      // the low 16 bits
int LanguageOffsetFromJapan(long long v);  // 0 stays Japanese, anything else is English

int CellSizeForMode(unsigned mode);
// columns/rows for n buttons per page in the orientation of `mode`.
void DeriveGrid(unsigned mode, int n, int &columns, int &rows);
// "buttons par page" as saved: the larger of columns and rows.
int ButtonsPerPageToSave(const BarSettings &s);

// "position" text: "%d,%d"; empty gives (0, 0); each number that does not
// parse gives 0; values are kept within the 16-bit coordinate range.
BarPosition ParsePosition(const char *text);
std::string FormatPosition(int x, int y);

// (currentPage - 1) * columns * rows + position on the page.
int SlotNumber(const BarSettings &s, int position);
// A profile section as GetPrivateProfileSectionA gives it and
// WritePrivateProfileSectionA takes it: each line ("key=value", or a bare
// name) followed by a zero byte, then one more zero byte. `values` set, each
// on the first line of its name (compared without regard to the case of
// ASCII letters, as the reader finds it); names not there yet follow in the
// order given. Every other line stays as it stands.
std::string SetSectionValues(std::string_view section, const std::vector<std::pair<const char *, std::string>> &values);

// "profile%03d" and "Title%03d".
std::string ProfileKey(int slotNumber);
std::string TitleKey(int slotNumber);

// Language rule: Japanese text at the base id, English at base + 1.
// The platform line (23) is one text for both languages, so it takes no offset.
constexpr unsigned StringId(unsigned base, int languageOffset)
{
    return base == IDS_PLATFORM ? base : base + (languageOffset ? 1u : 0u);
}

enum class DialogKind { Properties, ProgramDefinition, ExecuteApplication };
// English template when languageOffset is non-zero, Japanese when it is 0.
unsigned DialogId(DialogKind kind, int languageOffset);

