// The Program Definition dialog's rules that need no window (the fields of an
// entry are ini/program_entry's): the file whose icons are counted, what OK
// stores of the program field, and the icon index under a new count and under
// the scroll bar.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ini/entry_rules.h"

// What each of the four edits accepts from typing. A stored or chosen text
// may be longer: it is shown, kept and written back whole.
constexpr int kFieldEditLimit = 127;

// The file whose icons the icon file field offers: the field's whole text
// when that names an existing file, otherwise its program token. A path with
// spaces copied from a program under a folder such as "Program Files" is
// thus counted whole instead of up to its first space.
using FileExistsPredicate = bool (*)(const std::string &path);
std::string IconCountFile(const std::string &fieldText, FileExistsPredicate exists);

// What OK stores of the program field, so that a click starts what was typed: the text
// as typed, but quoted whole when it names an existing file and its program token does
// not (a path with spaces typed without quotes), and with a program path that holds a
// comma or tab replaced by that file's short path (a click's reading ends the command
// there). `refused` names such a path when it has no short path without one: nothing
// may be stored then.
struct ProgramToStore {
    std::string text;
    std::string refused;
    bool operator==(const ProgramToStore &) const = default;
};
using ShortPathOf = std::string (*)(const std::string &path);  // "" when there is none
ProgramToStore ProgramFieldToStore(const std::string &typed, FileExistsPredicate exists, ShortPathOf shortPath);

// The icon index and the highest index the scroll bar offers.
struct IconRange {
    int index = 0;
    int highest = 0;
};
// After counting `count` icons: the index stays within the file's icons;
// a file without icons collapses both to 0.
IconRange ApplyIconCount(int count, int index);

// The scroll bar's request codes the index follows.
enum IconScrollCode : int { ScrollLineUp, ScrollLineDown, ScrollPageUp, ScrollPageDown, ScrollThumbTrack = 5 };
// The new index for a scroll request, or nothing when the code is ignored.
std::optional<int> ScrolledIconIndex(int code, int thumbPosition, IconRange range);
