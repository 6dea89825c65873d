// A slot's program entry ("profile%03d"): "icon file,icon index,directory,command".
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How much of the text after the directory counts as the command:
// Remainder keeps commas and tabs inside it (the Program Definition dialog),
// Token stops at the first comma or tab (a click, a drop).
enum class CommandExtent { Remainder, Token };

struct ProgramEntry {
    bool empty = true;  // the value was empty: nothing registered
    std::string iconFile;
    int iconIndex = 0;  // as stored; negative means "start minimized"
    bool runMinimized = false;
    int effectiveIconIndex = 0;  // iconIndex, or its one's complement when negative
    std::string directory;
    std::string command;
};

inline constexpr std::string_view kEntryDelimiters = ",\t";

// Parses as the standard tokeniser would walk it, with the empty-directory
// test. `delimiters` is comma and tab for every reader but the tooltip.
ProgramEntry ParseProgramEntry(std::string_view value, CommandExtent extent,
                               std::string_view delimiters = kEntryDelimiters);

// The leading decimal integer of `text` as the standard conversion reads it
// (blanks, sign, digits; no digits gives 0), saturated to the int range.
int LeadingInt(std::string_view text);

// One's complement for a negative stored index.
constexpr int EffectiveIconIndex(int stored) { return stored < 0 ? ~stored : stored; }

// What the bar stores comes back whole from every reader and starts. An entry is read whole by
// every reader up to kLongestEntry bytes: a drop on a registered slot reads it into 1024 bytes, as
// the bar's older peers sharing the file still do. A start takes a path whole up to
// kLongestStartPath bytes: the click holds the working directory in 256 bytes, and the system's
// program finder takes no longer a path.
constexpr std::size_t kLongestEntry = 1023;
constexpr std::size_t kLongestStartPath = 255;
enum class EntryLength { Fits, EntryTooLong, PathTooLong };
// Whether `entry` may be stored: within kLongestEntry, and its icon file, its directory and
// `program` (what a click starts from it: its command's first token, quotes dropped) each within
// kLongestStartPath.
EntryLength CheckEntryLength(std::string_view entry, std::string_view program);

// "%s,%d,%s,%s"
std::string FormatProgramEntry(std::string_view iconFile, int storedIndex, std::string_view directory,
                               std::string_view command);

// Copies the program name at the front of `source` into `dest` (double
// quotes group and are removed; a space outside quotes, or a tab, '*' or '?'
// anywhere, ends it and is consumed) and returns where the rest begins.
// `dest` is written only when a byte is copied; it is always terminated
// within `destSize` bytes, so a token that fits is copied whole and a longer
// one is cut.
const char *SplitCommandToken(char *dest, std::size_t destSize, const char *source);

// The program name at the front of a command, whole, quotes dropped.
std::string CommandProgram(std::string_view command);

// The program a click starts from a stored entry: its command up to the first comma or tab,
// then that command's program name, whole, quotes dropped.
std::string EntryProgram(std::string_view value);

// A path in double quotes, as an entry's command or a dropped file's argument holds it.
std::string QuotedPath(std::string_view path);

// A slot's entry as the Program Definition dialog and a hand-written import hold it.
struct ProgramFields {
    std::string program;
    std::string directory;
    std::string iconFile;
    int iconIndex = 0;  // never negative: minimized lives in runMinimized
    bool runMinimized = false;
    bool operator==(const ProgramFields &) const = default;
};

// A stored "profile%03d" value as the dialog shows it: the command is the
// whole rest of the value, and no field is cut. Fields the value does not
// have (a hand edit can leave some out) stay empty.
ProgramFields FieldsFromStoredValue(std::string_view value);

// The stored index: the icon index, or its one's complement (-1 - index)
// when the program runs minimized.
constexpr int StoredIconIndex(int index, bool runMinimized) { return runMinimized ? ~index : index; }

// "icon file,stored index,directory,program"; nothing when the program or
// the icon file is empty, which the dialog refuses.
std::optional<std::string> StoredValueFromFields(const ProgramFields &fields);

// The icon file that the interlock box puts beside a program name: the name
// cut after its first comma- or tab-delimited token (delimiters in front of
// it stay), then its program token with the quotes dropped.
std::string InterlockIconFile(std::string_view program);
