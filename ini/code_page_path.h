// File names as the shell and the file chooser hand them over (UTF-16),
// turned into the system code page that TAV.INI and every "A" call use.
// A name is never passed on with a character replaced: "?" names no file,
// and a best-fit look-alike ("a" for "ā") can name another file.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// What the path becomes: an argument is passed on in quotes, a field of a
// slot's entry ("icon file,icon index,directory,command") ends at a comma or tab.
enum class PathUse { Argument, EntryField };

enum class PathRefusal { None, NotInCodePage, HasDelimiter, TooLong };

struct CodePagePath {
    std::string path;  // empty when refused
    PathRefusal refusal = PathRefusal::None;
};

// `wide` in the system code page, naming the same file: as it stands when
// every character converts exactly and it suits `use` within `longest`
// bytes; else the file system's short (8.3) path when that does. Refused
// otherwise, for the name's own fault.
CodePagePath SpellPath(const std::wstring &wide, PathUse use, std::size_t longest = SIZE_MAX);

// The system's lead-byte test for the active code page.
bool IsSystemLeadByte(unsigned char c);

// `wide` in the system code page when every character has a form of its own there and reads
// back as given; nothing for a character the code page lacks or only has a look-alike of, or a
// lone surrogate. The one conversion from UTF-16 to the code page: nothing is ever stored or
// passed on with a character replaced.
std::optional<std::string> CodePageExact(const std::wstring &wide);

// A code-page text as UTF-16, for the wide calls.
std::wstring WideFromCodePage(const std::string &text);
