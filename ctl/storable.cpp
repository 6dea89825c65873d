#include "ctl/storable.h"

#include <windows.h>

#include <algorithm>

#include "ctl/console.h"
#include "ctl/ctl_rules.h"
#include "ini/code_page_path.h"

namespace tavctl {

namespace {

// The length of the name the system resolves `path` (code-page text) to: a start takes a short name
// to the file's long one, and fails when that is longer than it takes. The path's own length when
// no file has it.
std::size_t LongFormLength(const std::string &path)
{
    const std::wstring wide = WideFromCodePage(path);
    // Every short name the system makes up has a tilde; a path without one is as long as it looks.
    if (wide.find(L'~') == std::wstring::npos)
        return wide.size();
    const DWORD n = GetLongPathNameW(wide.c_str(), nullptr, 0);
    return std::max<std::size_t>(n ? n - 1 : 0, wide.size());
}

// An existing file or folder, made whole; a bare name is also looked for as the system
// would find a program ("notepad").
std::optional<std::wstring> ExistingPath(const std::wstring &path, bool folder)
{
    const std::wstring full = FullPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (!folder || (attributes & FILE_ATTRIBUTE_DIRECTORY)))
        return full;
    if (folder || path.find_first_of(L"\\/:") != std::wstring::npos)
        return std::nullopt;
    wchar_t found[MAX_PATH] = {};
    if (SearchPathW(nullptr, path.c_str(), L".exe", MAX_PATH, found, nullptr) == 0)
        return std::nullopt;
    return std::wstring(found);
}

// A file's path as it can stand in an entry's field, or why not.
std::optional<std::string> EntryPath(const std::wstring &path, std::string &error)
{
    const CodePagePath spelt = SpellPath(path, PathUse::EntryField, kLongestStartPath);
    const std::string shown = Utf8From(path);
    switch (spelt.refusal) {
    case PathRefusal::None: return spelt.path;
    case PathRefusal::NotInCodePage:
        error = shown + ": the name has characters " + CodePageName() + " cannot hold, and no short name without them";
        break;
    case PathRefusal::HasDelimiter:
        error = shown + ": a comma or tab in the name would end the entry's field, and it has no short name without";
        break;
    case PathRefusal::TooLong:
        error = shown + ": the path is longer than the " + std::to_string(kLongestStartPath) +
                " bytes a start takes, and it has no short name that fits";
        break;
    }
    return std::nullopt;
}

} // namespace

std::wstring FullPath(const std::wstring &path)
{
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return full;
}

bool ReadsBackAsGiven(const std::string &value, const std::string &what, std::string &error)
{
    const std::string back = ReadBackValue(value, IsSystemLeadByte);
    if (back == value)
        return true;
    error = what + " '" + Utf8FromCodePage(value) + "' would read back as '" + Utf8FromCodePage(back) +
            "': TAV.INI's reader drops blanks and a pair of quotes around a value";
    return false;
}

bool StorableEntry(const std::string &entry, const std::string &program, std::string &error)
{
    if (!ReadsBackAsGiven(entry, "the entry", error))
        return false;
    switch (CheckEntryLength(entry, program)) {
    case EntryLength::Fits: {
        const ProgramEntry e = ParseProgramEntry(entry, CommandExtent::Token);
        for (const std::string *path : {&e.iconFile, &e.directory, &program})
            if (LongFormLength(*path) > kLongestStartPath) {
                error = Utf8FromCodePage(*path) + ": the file's full name is longer than the " +
                        std::to_string(kLongestStartPath) + " characters a start takes";
                return false;
            }
        return true;
    }
    case EntryLength::EntryTooLong:
        error = "the entry would be " + std::to_string(entry.size()) + " bytes; the bar keeps at most " +
                std::to_string(kLongestEntry) + ", which every reader takes whole";
        return false;
    case EntryLength::PathTooLong:
        error = "a path in the entry is longer than the " + std::to_string(kLongestStartPath) +
                " bytes a start takes";
        return false;
    }
    return false;
}

std::optional<std::string> NamedFile(const std::string &utf8, bool folder, std::string &error)
{
    const std::optional<std::wstring> path = ExistingPath(WideFromUtf8(utf8), folder);
    if (!path) {
        error = (folder ? "no such folder: " : "no such file: ") + utf8;
        return std::nullopt;
    }
    return EntryPath(*path, error);
}

std::optional<std::string> StorableText(const std::string &utf8, const std::string &what, std::string &error)
{
    const std::optional<std::string> text = CodePageExact(WideFromUtf8(utf8));
    if (!text) {
        error = what + " '" + utf8 + "' has characters " + CodePageName() + " cannot hold";
        return std::nullopt;
    }
    if (std::any_of(text->begin(), text->end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; })) {
        error = what + " holds a line break, which TAV.INI cannot keep";
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> RespeltEntry(const std::string &utf8, const std::string &what, std::string &error)
{
    const auto path = [&](const std::string &text) -> std::optional<std::string> {
        const std::wstring wide = WideFromUtf8(text);
        if (auto exact = CodePageExact(wide))
            return exact;
        std::string why = text + ": not here, and " + CodePageName() + " cannot hold the name";
        auto spelt = GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES ? std::nullopt : EntryPath(wide, why);
        if (!spelt)
            error = what + ": " + why;
        return spelt;
    };
    const ProgramEntry e = ParseProgramEntry(utf8, CommandExtent::Remainder);
    // The command's program is quoted, or runs up to the first blank.
    const bool quoted = !e.command.empty() && e.command[0] == '"';
    const std::size_t end = quoted ? e.command.find('"', 1) : e.command.find(' ');
    const std::string program = quoted ? e.command.substr(1, end == std::string::npos ? end : end - 1)
                                       : e.command.substr(0, end);
    const std::string rest = end == std::string::npos ? "" : e.command.substr(quoted ? end + 1 : end);
    const auto icon = path(e.iconFile);
    const auto directory = !icon || e.directory.empty() ? std::optional<std::string>(std::string()) : path(e.directory);
    const auto spelt = icon && directory ? path(program) : std::nullopt;
    const auto arguments = spelt ? StorableText(rest, what, error) : std::nullopt;
    if (!arguments)
        return std::nullopt;
    return FormatProgramEntry(*icon, e.iconIndex, *directory, (quoted ? QuotedPath(*spelt) : *spelt) + *arguments);
}

std::optional<std::string> StorableTitle(const std::string &utf8, std::string &error)
{
    std::optional<std::string> title = StorableText(utf8, "the title", error);
    if (title && title->size() >= kValueBuffer) {
        error = "the title is longer than the bar reads (" + std::to_string(kValueBuffer - 1) + " bytes)";
        return std::nullopt;
    }
    if (title && !ReadsBackAsGiven(*title, "the title", error))
        return std::nullopt;
    return title;
}

} // namespace tavctl
