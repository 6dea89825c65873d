// Command texts: cutting the program name off a command, the extension rule
// that tells a program from a document, and the command line built from them.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "ini/code_page_rules.h"
#include "ini/entry_rules.h"  // SplitCommandToken

// The extension of the last path component, dot included ("C:\TOOLS\EDIT.EXE"
// gives ".EXE"); "" when that component has no dot. Components are separated
// by '\' or '/', after an optional drive "X:"; double-byte characters are
// skipped whole, so their trail byte is never a dot or a separator.
std::string PathExtension(const char *path, LeadBytePredicate isLead);

// Extensions compare that way.
inline bool SameExtension(const std::string &a, const std::string &b, LeadBytePredicate isLead)
{
    return SameTextIgnoringCase(a, b, isLead);
}

// The longest command line the system accepts, in characters without the terminator.
constexpr std::size_t kMaxCommandLine = 32766;

// What starts `file`, given what the shell found for it: the found
// executable (the whole reported path, quotes removed) with the arguments
// when the file is the executable itself (same extension), or with the file
// when it is a document. When the shell found nothing, a file with a program
// extension is run itself with the arguments, and anything else is a
// document no program opens: `associated` is false and nothing may start (a
// document that happens to be a program file would otherwise run as one).
struct LaunchCommand {
    bool associated = true;
    std::string executable;
    std::string parameters;  // the arguments, or the document's path quoted if it holds a space
};
LaunchCommand BuildLaunchCommand(const char *foundPath, const char *file, const char *arguments,
                                 LeadBytePredicate isLead);

// The command line that runs `executable` with `parameters`: the executable
// is quoted when it holds a space, so a program under "C:\\Program Files"
// runs and nothing planted at "C:\\Program.exe" does; paths without spaces
// stay as they always were. Not cut: the caller refuses what the system
// cannot take. For ANSI and Unicode text alike.
template <typename Text> Text QuotedIfSpaced(const Text &path)
{
    using Char = typename Text::value_type;
    const Char blanks[] = {Char(' '), Char('\t'), Char(0)};
    return path.find_first_of(blanks) == Text::npos ? path : Char('"') + path + Char('"');
}
template <typename Text> Text CommandLineOf(const Text &executable, const Text &parameters)
{
    return QuotedIfSpaced(executable) + typename Text::value_type(' ') + parameters;
}

// Whether the file runs as a program by its name: .exe .com .bat .cmd .pif.
bool HasProgramExtension(const char *path, LeadBytePredicate isLead);
// Whether the file is a shell shortcut (.lnk), started as its target.
bool IsShortcutFile(std::string_view path, LeadBytePredicate isLead);

// The show command in the header of a shortcut file (its first 76 bytes,
// the value at byte 60): normal, maximized or minimized without activation;
// anything else, or a header cut short, counts as normal.
int ShortcutShowCommand(std::string_view header);

// What to try after a start failed with the system error `error`: a program
// missing from the system directory a 32-bit bar on 64-bit Windows (`wow64`)
// sees is looked for in the 64-bit one; a program whose manifest asks for
// administrator rights goes through the shell, which asks the user for
// consent; anything else is the failure to report.
enum class LaunchRetry { None, NativeSystemDirectory, Elevated };
LaunchRetry NextLaunchAttempt(unsigned long error, bool wow64);

// The system error codes these rules name.
constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorElevationRequired = 740;
constexpr unsigned long kErrorNoAssociation = 1155;

// The path by which a 32-bit program on 64-bit Windows reaches `file` in the
// 64-bit system directory: `file` with `systemDir` in front (any case)
// replaced by `windowsDir` and "\Sysnative". A 32-bit program is shown the
// 32-bit system directory under the usual name, so a program that only the
// 64-bit one holds is not found by the path the user gave. "" when `file` is
// not inside `systemDir`.
std::string SysnativePath(std::string_view file, std::string_view systemDir, std::string_view windowsDir,
                          LeadBytePredicate isLead);
