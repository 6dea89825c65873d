// What a click on a slot, files dropped on a slot and a command typed into
// the Execute Application dialog turn into: the program, its argument text
// and working directory; the double-start guard; the dialog's history. No
// Win32 here: slot_activation.cpp and run_dialog.cpp do the calls.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "launch/command_rules.h"

// What one start is given. An empty directory means none: the started
// program inherits the bar's own (the platform refuses an empty text).
struct StartPlan {
    std::string program;
    std::string arguments;
    std::string directory;
    bool runMinimized = false;
};

// Every dialog text.
constexpr std::size_t kDialogTextBuffer = 128;

// A click on a registered slot: the command up to its first comma or tab,
// the program token cut off its front (quotes dropped), the rest after
// bytes 1 to 32; the stored directory, or else the program's folder (none
// for a shortcut, which has a working directory of its own).
StartPlan PlanSlotStart(std::string_view value, LeadBytePredicate isLead);

// Files dropped on a registered slot: its program token and its directory as
// stored. The registered arguments, the start mode and the title are not used.
StartPlan PlanDropStart(std::string_view value);
// What one file dropped on an empty slot registers: «path,0,,"path"».
std::string DroppedFileEntry(std::string_view path);

// The Execute Application dialog's text: the program is its first token over
// comma and tab (spaces are part of it), the arguments what follows that comma
// or tab after bytes 1 to 32, the directory the program's folder (none for a
// shortcut). A token that begins with a double quote is split as a command
// line: the quoted path is the program and the rest of the token comes first
// in the arguments. A text of only commas and tabs gives no program.
StartPlan PlanTypedCommand(std::string_view text, LeadBytePredicate isLead);

// A program path up to, not including, its last backslash; "" without one. A
// double-byte character's second byte is never taken for the backslash.
std::string ProgramFolder(std::string_view program, LeadBytePredicate isLead);

// A click less than this long after the last accepted one starts nothing.
// The tick count wraps; the difference is taken in 32 bits.
constexpr std::uint32_t kLaunchGuardMs = 2000;
constexpr bool LaunchGuardRefuses(std::uint32_t now, std::uint32_t lastLaunch)
{
    return static_cast<std::uint32_t>(now - lastLaunch) < kLaunchGuardMs;
}

// The last five commands started from the Execute Application dialog, newest
// first; empty entries are empty texts. Kept in memory only.
struct RunHistory {
    std::array<std::string, 5> entries;
};

// After a successful start of `text`: unless an entry begins with it (letter
// case ignored), it becomes entry 0 and the oldest entry is dropped.
void RememberRunCommand(RunHistory &history, std::string_view text, LeadBytePredicate isLead);
