// Command texts: cutting the program name off a command, the extension rule
// that tells a program from a document, and the command line built from them.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Copies the program name at the front of `source` into `dest` (double
// quotes group and are removed; a space outside quotes, or a tab, '*' or '?'
// anywhere, ends it and is consumed) and returns where the rest begins.
// `dest` is written only when a byte is copied; it is always terminated
// within `destSize` bytes, so a token that fits is copied whole and a longer
// one is cut.
const char *SplitCommandToken(char *dest, std::size_t destSize, const char *source);

// Whether a byte starts a double-byte character of the active code page.
using LeadBytePredicate = bool (*)(unsigned char);
// Shift-JIS (code page 932) lead bytes: 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char c);
bool NoLeadByte(unsigned char c);

// The extension of the last path component, dot included ("C:\TOOLS\EDIT.EXE"
// gives ".EXE"); "" when that component has no dot. Components are separated
// by '\' or '/', after an optional drive "X:"; double-byte characters are
// skipped whole, so their trail byte is never a dot or a separator.
std::string PathExtension(const char *path, LeadBytePredicate isLead);

// Whether two texts are equal but for the case of single-byte letters; a
// double-byte character compares byte for byte (its trail byte may look like
// a letter).
bool SameTextIgnoringCase(std::string_view a, std::string_view b, LeadBytePredicate isLead);
// Extensions compare that way.
inline bool SameExtension(const std::string &a, const std::string &b, LeadBytePredicate isLead)
{
    return SameTextIgnoringCase(a, b, isLead);
}

constexpr std::size_t kLaunchBuffer = 2048;
// The longest command line the system accepts, in characters without the terminator.
constexpr std::size_t kMaxCommandLine = 32766;

// The command line for `file` given what the shell found for it: the found
// executable (the whole reported path, quotes removed) and one space, then
// the arguments when the file is the executable itself (same extension) or
// the file when it is a document. The executable and a document's path are
// quoted when they hold a space, so a program under "C:\Program Files" runs
// and nothing planted at "C:\Program.exe" does; paths without spaces stay as
// they always were. Not cut: the caller refuses what the system cannot take.
std::string BuildLaunchCommandLine(const char *foundPath, const char *file, const char *arguments,
                                   LeadBytePredicate isLead);

// The path by which a 32-bit program on 64-bit Windows reaches `file` in the
// 64-bit system directory: `file` with `systemDir` in front (any case)
// replaced by `windowsDir` and "\Sysnative". A 32-bit program is shown the
// 32-bit system directory under the usual name, so a program that only the
// 64-bit one holds is not found by the path the user gave. "" when `file` is
// not inside `systemDir`.
std::string SysnativePath(std::string_view file, std::string_view systemDir, std::string_view windowsDir,
                          LeadBytePredicate isLead);
