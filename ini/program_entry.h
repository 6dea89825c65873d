// A slot's program entry ("profile%03d"): "icon file,icon index,directory,command".
#pragma once
#include <cstddef>
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
