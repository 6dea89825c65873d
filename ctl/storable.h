// What tavctl lets into TAV.INI: text the code page holds on one line, files that are there, by
// names an entry can hold, and entries and titles that read back as given and start whole.
// Texts come in as UTF-8 and go out in the code page; `error` says why not, in UTF-8.
#pragma once
#include <optional>
#include <string>

namespace tavctl {

// Whether `value` comes back from TAV.INI as given, with `error` saying what would come back.
bool ReadsBackAsGiven(const std::string &value, const std::string &what, std::string &error);

// A whole entry as it may be stored: it reads back as given, every reader takes it whole and a
// click starts it. `program` is the program a click starts from it.
bool StorableEntry(const std::string &entry, const std::string &program, std::string &error);

// `path` made whole against the current folder.
std::wstring FullPath(const std::wstring &path);

// The file (or, with `folder`, the folder) a command line names, as an entry's field holds it; a
// bare name is also looked for as the system would find a program ("notepad").
std::optional<std::string> NamedFile(const std::string &utf8, bool folder, std::string &error);

// A text that goes into TAV.INI as it stands: in the code page, on one line.
std::optional<std::string> StorableText(const std::string &utf8, const std::string &what, std::string &error);

// An entry made under another code page, with each path in it that this one cannot hold taken
// by its short name, as a drop takes it: the same file. Nothing, with `error`, when such a file
// is not here or has no such name, or other text in the entry cannot be held.
std::optional<std::string> RespeltEntry(const std::string &utf8, const std::string &what, std::string &error);

// A title as it may be stored: StorableText, within what the bar reads, and read back as given.
std::optional<std::string> StorableTitle(const std::string &utf8, std::string &error);

} // namespace tavctl
