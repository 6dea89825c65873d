// tavctl: the bar's configuration from a command line or a script. Every
// change goes through the same profile functions, the same TAV.INI (or its
// per-user copy) and the same writer's lock as the bar's own, and is then
// announced as the bar announces its own; a running bar is told to reload.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ctl/ctl_rules.h"
#include "ctl/json.h"
#include "bar/program_fields.h"
#include "ini/code_page_path.h"
#include "ini/profile_section.h"
#include "ini/settings.h"
#include "launch/activation_rules.h"
#include "res/version.h"

namespace {

constexpr int kLastSlotKey = kMaxPages * kMaxButtonsPerPage - 1;
constexpr DWORD kReloadTimeoutMs = 10000;
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunKeyW[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"TAV!";

// ---- Text between the console, UTF-8 files and the code page TAV.INI is written in ----

std::wstring WideFromUtf8(const std::string &text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8From(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

std::string Utf8FromCodePage(const std::string &text)
{
    return Utf8From(WideFromCodePage(text));
}

// `wide` in the system code page when every character converts exactly: a title or
// argument must not be stored with a character replaced.
std::optional<std::string> CodePageExact(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, &lost);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, &lost);
    if (lost || n <= 0 || WideFromCodePage(text) != wide)
        return std::nullopt;
    return text;
}

// Written as UTF-16 to a console, whose code page may hold none of the text, and
// as UTF-8 to a pipe or a file.
void Write(DWORD which, const std::string &utf8)
{
    const HANDLE out = GetStdHandle(which);
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = WideFromUtf8(utf8);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
    } else {
        WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
    }
}

// A message as one line of output, whatever it quotes.
std::string Line(const std::string &utf8) { return OneLine(utf8) + "\n"; }

void Say(const std::string &utf8) { Write(STD_OUTPUT_HANDLE, Line(utf8)); }

// One line, and the exit code that goes with it.
int Fail(int code, const std::string &utf8)
{
    Write(STD_ERROR_HANDLE, "tavctl: " + Line(utf8));
    return code;
}

std::string CodePageName()
{
    return "code page " + std::to_string(GetACP());
}

// ---- The bar's file ----

struct BarFile {
    BarFile() = default;
    // Read in place and never moved: a short section text lives inside its string, where the
    // views of `section` point.
    BarFile(const BarFile &) = delete;
    BarFile &operator=(const BarFile &) = delete;

    int perPage = kDefaultButtonsPerPage;
    int pages = kDefaultMaximumPages;
    HotKey hotKey;            // as the bar reads it
    std::string environment;  // the section as read, for SetSectionValues
    std::string programs;     // the section text the views of `section` point into
    ProfileSection section;
};

// The bar's grid and both sections, as the bar would read them now.
void ReadBarFile(BarFile &file)
{
    BarSettings settings;
    LoadSettings(false, settings);
    file.perPage = settings.columns * settings.rows;
    file.pages = settings.maximumPages;
    file.hotKey = settings.hotKey;
    file.environment = ReadEnvironmentSection();
    file.programs = ReadProgramSection();
    file.section = ParseProfileSection(file.programs, IsSystemLeadByte);
}

// What a verb's work under the writers' lock came to. It is printed, and the change announced,
// only once the lock is let go: output nobody reads (a full pipe, a console held by a selection)
// must never hold up the bar or another writer.
struct Outcome {
    int code = ExitDone;
    std::string error;     // one line, when code is not ExitDone
    bool changed = false;  // TAV.INI was written: announce it
};

Outcome Refused(int code, std::string error) { return {code, std::move(error), false}; }

// Runs `work` holding the writers' lock. Without it nothing is read or written: a file read
// meanwhile may be half rewritten, and a change written meanwhile undoes another writer's.
template <typename Work> Outcome UnderLock(Work work)
{
    const ProfileLock lock;
    if (!lock.Held())
        return Refused(ExitNotStored, "another program has held TAV.INI (the lock " + std::string(kIniWriterLock) +
                                          ") for over " + std::to_string(kProfileLockTimeoutMs / 1000) +
                                          " s; nothing was read or written");
    return work();
}

std::optional<std::string> KeyValue(const BarFile &file, const std::string &key)
{
    if (!HasProfileKey(file.section, key, IsSystemLeadByte))
        return std::nullopt;
    return ProfileValue(file.section, key, file.programs.size() + 2, IsSystemLeadByte);
}

std::string EntryAt(const BarFile &file, int key) { return KeyValue(file, ProfileKey(key)).value_or(""); }

// Every registered slot, in key order (texts in the code page).
std::vector<SlotReport> Registered(const BarFile &file)
{
    std::vector<SlotReport> slots;
    for (int key = 0; key <= kLastSlotKey; ++key) {
        std::string entry = EntryAt(file, key);
        if (entry.empty())
            continue;
        slots.push_back({key, key / file.perPage + 1, key % file.perPage + 1, std::move(entry),
                         KeyValue(file, TitleKey(key))});
    }
    return slots;
}

SlotReport InUtf8(SlotReport report)
{
    report.entry = Utf8FromCodePage(report.entry);
    if (report.title)
        report.title = Utf8FromCodePage(*report.title);
    return report;
}

// After every change: the notice every peer hears, then the bar's own reload.
void Announce()
{
    StartChangeNotices();
    BroadcastChangeNotice(NoticeChanged);
    if (const HWND bar = FindWindowA(kBarClassName, kBarTitle)) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(bar, WM_USER, 0, 0, SMTO_ABORTIFHUNG, kReloadTimeoutMs, &answer);
    }
}

// The end of a verb, the lock let go: the error, or the change announced and then `output`
// written (the bar shows the change even while nobody reads the output).
int Finish(const Outcome &outcome, const std::string &output)
{
    if (outcome.code != ExitDone)
        return Fail(outcome.code, outcome.error);
    if (outcome.changed)
        Announce();
    Write(STD_OUTPUT_HANDLE, output);
    return ExitDone;
}

std::string NotStored() { return "TAV.INI could not be written (" + Utf8FromCodePage(ProfilePath()) + ")"; }

std::string Programs(std::size_t n) { return std::to_string(n) + (n == 1 ? " program" : " programs"); }

std::string Where(int page, int slot) { return "page " + std::to_string(page) + " slot " + std::to_string(slot); }

// Whether `value` comes back from TAV.INI as given, with `error` saying what would come back.
bool ReadsBackAsGiven(const std::string &value, const std::string &what, std::string &error)
{
    const std::string back = ReadBackValue(value, IsSystemLeadByte);
    if (back == value)
        return true;
    error = what + " '" + Utf8FromCodePage(value) + "' would read back as '" + Utf8FromCodePage(back) +
            "': TAV.INI's reader drops blanks and a pair of quotes around a value";
    return false;
}

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

// A whole entry as it may be stored: it reads back as given, every reader takes it whole and a
// click starts it. `program` is the program a click starts from it.
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

// ---- Files named on the command line ----

std::wstring FullPath(const std::wstring &path)
{
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return full;
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

std::optional<std::string> NamedFile(const std::string &utf8, bool folder, std::string &error)
{
    const std::optional<std::wstring> path = ExistingPath(WideFromUtf8(utf8), folder);
    if (!path) {
        error = (folder ? "no such folder: " : "no such file: ") + utf8;
        return std::nullopt;
    }
    return EntryPath(*path, error);
}

// A text that goes into TAV.INI as it stands: in the code page, on one line.
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

// An entry made under another code page, with each path in it that this one cannot hold taken
// by its short name, as a drop takes it: the same file. Nothing, with `error`, when such a file
// is not here or has no such name, or other text in the entry cannot be held.
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

// ---- The verbs ----

int List(const CtlRequest &request)
{
    BarFile file;
    const Outcome read = UnderLock([&] {
        ReadBarFile(file);
        return Outcome{};
    });
    if (read.code != ExitDone)
        return Finish(read, "");
    if (request.page && *request.page > file.pages)
        return Fail(ExitBadInput, "page " + std::to_string(*request.page) + " is beyond the bar's " +
                                      std::to_string(file.pages) + " pages");
    std::vector<SlotReport> slots = Registered(file);
    std::erase_if(slots, [&](const SlotReport &s) { return request.page && s.page != *request.page; });
    std::string out;
    if (request.json) {
        out = "[\n";
        for (std::size_t i = 0; i < slots.size(); ++i)
            out += SlotJson(InUtf8(slots[i]), "  ") + (i + 1 < slots.size() ? ",\n" : "\n");
        out += "]\n";
    } else {
        for (const SlotReport &slot : slots)
            out += Utf8FromCodePage(SlotLine(slot)) + "\n";
    }
    return Finish(read, out);
}

int Add(const CtlRequest &request)
{
    std::string error;
    const std::optional<std::string> program = NamedFile(request.operands[0], false, error);
    if (!program)
        return Fail(ExitBadInput, error);
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < request.operands.size(); ++i) {
        const auto argument = StorableText(request.operands[i], "the argument", error);
        if (!argument)
            return Fail(ExitBadInput, error);
        arguments.push_back(*argument);
    }
    const auto command = RegisteredCommand(*program, arguments, IsSystemLeadByte, error);
    if (!command)
        return Fail(ExitBadInput, error);
    std::string directory;
    if (request.directory) {
        const auto folder = NamedFile(*request.directory, true, error);
        if (!folder)
            return Fail(ExitBadInput, error);
        directory = *folder;
    }
    IconChoice icon{*program, 0};
    if (request.icon) {
        const auto choice = ParseIconChoice(*request.icon, error);
        const auto file = choice ? NamedFile(choice->file, false, error) : std::nullopt;
        if (!file)
            return Fail(ExitBadInput, error);
        icon = {*file, choice->index};
    }
    std::optional<std::string> title;
    if (request.title && !(title = StorableTitle(*request.title, error)))
        return Fail(ExitBadInput, error);
    const std::string entry =
        FormatProgramEntry(icon.file, StoredIconIndex(icon.index, request.minimized), directory, *command);
    if (!StorableEntry(entry, *program, error))
        return Fail(ExitBadInput, error);

    SlotReport added;
    // The slot is chosen and written in one hold of the lock, so two adds at once never pick the
    // same empty slot.
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        int key = -1;
        if (request.slot) {
            const auto at = SlotKeyOf(request.page.value_or(1), *request.slot, file.perPage, file.pages, error);
            if (!at)
                return Refused(ExitBadInput, error);
            key = *at;
            const std::string held = EntryAt(file, key);
            if (!held.empty() && !request.replace)
                return Refused(ExitBadInput,
                               Where(request.page.value_or(1), *request.slot) + " holds " +
                                   Utf8FromCodePage(ParseProgramEntry(held, CommandExtent::Remainder).command) +
                                   " (--replace registers over it)");
        } else {
            if (request.page && !SlotKeyOf(*request.page, 1, file.perPage, file.pages, error))
                return Refused(ExitBadInput, error);
            const int first = request.page ? (*request.page - 1) * file.perPage : 0;
            const int last = request.page ? first + file.perPage : file.pages * file.perPage;
            for (int k = first; k < last && key < 0; ++k)
                if (EntryAt(file, k).empty())
                    key = k;
            if (key < 0)
                return Refused(ExitBadInput, request.page
                                                 ? "page " + std::to_string(*request.page) + " has no empty slot"
                                                 : "the bar has no empty slot (--page and --slot choose one)");
        }
        // A title of an earlier program must not stay with this one.
        if (!WriteSlotKeys(key, entry, title))
            return Refused(ExitNotStored, NotStored());
        added = {key, key / file.perPage + 1, key % file.perPage + 1, entry, title};
        return {ExitDone, "", true};
    });
    if (outcome.code != ExitDone)
        return Finish(outcome, "");
    return Finish(outcome, request.json ? SlotJson(InUtf8(added), "") + "\n"
                                        : Line(Where(added.page, added.slot) + ": " + Utf8FromCodePage(*command)));
}

// The slot a request names, checked against the bar; -1 with `error` otherwise.
int RequestedKey(const BarFile &file, int page, int slot, bool mustHold, std::string &error)
{
    const auto key = SlotKeyOf(page, slot, file.perPage, file.pages, error);
    if (!key)
        return -1;
    if (mustHold && EntryAt(file, *key).empty()) {
        error = Where(page, slot) + " is empty";
        return -1;
    }
    return *key;
}

int Remove(const CtlRequest &request)
{
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        std::string error;
        const int key = RequestedKey(file, *request.page, *request.slot, true, error);
        if (key < 0)
            return Refused(ExitBadInput, error);
        if (!WriteSlotKeys(key, std::nullopt, std::nullopt))
            return Refused(ExitNotStored, NotStored());
        return {ExitDone, "", true};
    });
    return Finish(outcome, Line(Where(*request.page, *request.slot) + ": removed"));
}

int Move(const CtlRequest &request)
{
    const int toPage = request.toPage.value_or(*request.page);
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        std::string error;
        const int from = RequestedKey(file, *request.page, *request.slot, false, error);
        const int to = from < 0 ? -1 : RequestedKey(file, toPage, *request.toSlot, false, error);
        if (to < 0)
            return Refused(ExitBadInput, error);
        if (EntryAt(file, from).empty() && EntryAt(file, to).empty())
            return Refused(ExitBadInput, "both slots are empty");
        switch (ExchangeProgramSlots(from, to)) {
        case SlotExchange::Done: break;
        case SlotExchange::NotRead:
            return Refused(ExitNotStored, "an entry is too long to be read whole; nothing moved");
        case SlotExchange::NotStored: return Refused(ExitNotStored, NotStored());
        }
        return {ExitDone, "", true};
    });
    return Finish(outcome, Line(Where(*request.page, *request.slot) + " and " + Where(toPage, *request.toSlot) +
                                ": exchanged"));
}

int Title(const CtlRequest &request)
{
    std::string error;
    const std::optional<std::string> title = StorableTitle(request.operands[0], error);
    if (!title)
        return Fail(ExitBadInput, error);
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        const int key = RequestedKey(file, *request.page, *request.slot, true, error);
        if (key < 0)
            return Refused(ExitBadInput, error);
        if (!WriteProgramKey(TitleKey(key).c_str(), title->c_str()))
            return Refused(ExitNotStored, NotStored());
        return {ExitDone, "", true};
    });
    return Finish(outcome, Line(Where(*request.page, *request.slot) + ": title " + request.operands[0]));
}

// A hot key another program holds is stored all the same, for the bar's next start: said as the bar says it.
// Tried before the bar reloads, so a bar holding the key it read (`before`) is not taken for another program.
std::string HotKeyHeldElsewhere(const SettingValue &setting, HotKey before)
{
    const HotKey hotKey = ParseHotKey(setting.stored).value_or(HotKey{});
    if (setting.key != std::string_view(kKeyHotKey) || !hotKey.key ||
        (hotKey == before && FindWindowA(kBarClassName, kBarTitle)))
        return "";
    if (RegisterHotKey(nullptr, 1, hotKey.modifiers | MOD_NOREPEAT, hotKey.key)) {
        UnregisterHotKey(nullptr, 1);
        return "";
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED
               ? " (another program holds this hot key: the bar takes it at its next start)"
               : "";
}

int Set(const CtlRequest &request)
{
    std::optional<SettingValue> setting;
    HotKey before;
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        std::string error;
        setting = SettingToStore(request.operands[0], request.operands[1], file.pages, error);
        before = file.hotKey;
        if (!setting)
            return Refused(ExitBadInput, error);
        if (!ReadsBackAsGiven(setting->stored, setting->key, error))
            return Refused(ExitBadInput, error);
        if (!WriteProfileKey(kEnvironmentSection, setting->key, setting->stored.c_str()))
            return Refused(ExitNotStored, NotStored());
        return {ExitDone, "", true};
    });
    if (outcome.code != ExitDone)
        return Finish(outcome, "");
    const std::string_view key = setting->key;
    const bool atNextStart = key == kKeyJapan || key == kKeyStartupPage;
    return Finish(outcome, Line(std::string(key) + " = " + setting->stored +
                                (atNextStart && FindWindowA(kBarClassName, kBarTitle)
                                     ? " (the running bar takes it at its next start)"
                                     : HotKeyHeldElsewhere(*setting, before))));
}

// ---- Export and import ----

std::string ExportText(const BarFile &file)
{
    const ProfileSection environment = ParseProfileSection(file.environment, IsSystemLeadByte);
    std::string out = "{\n  \"tav\": 1,\n  \"codePage\": " + std::to_string(GetACP()) + ",\n  \"environment\": {";
    bool first = true;
    for (const char *key : kEnvironmentKeys) {
        if (!HasProfileKey(environment, key, IsSystemLeadByte))
            continue;
        const std::string value = ProfileValue(environment, key, kValueBuffer, IsSystemLeadByte);
        out += std::string(first ? "\n" : ",\n") + "    " + JsonQuoted(key) + ": " + JsonQuoted(Utf8FromCodePage(value));
        first = false;
    }
    out += first ? "},\n  \"programs\": [" : "\n  },\n  \"programs\": [";
    const std::vector<SlotReport> slots = Registered(file);
    for (std::size_t i = 0; i < slots.size(); ++i)
        out += (i ? ",\n" : "\n") + SlotJson(InUtf8(slots[i]), "    ");
    return out + (slots.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

bool WriteWholeFile(const std::wstring &path, const std::string &text)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                    done == text.size();
    return CloseHandle(file) && ok;
}

std::optional<std::string> ReadWholeFile(const std::wstring &path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    char chunk[1 << 16];
    for (DWORD got = 0; ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0 && text.size() < (64u << 20);)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

int Export(const CtlRequest &request)
{
    BarFile file;
    const Outcome read = UnderLock([&] {
        ReadBarFile(file);
        return Outcome{};
    });
    if (read.code != ExitDone)
        return Finish(read, "");
    const std::string text = ExportText(file);
    if (request.operands[0] == "-")
        return Finish(read, text);
    const std::wstring path = FullPath(WideFromUtf8(request.operands[0]));
    if (!WriteWholeFile(path, text))
        return Fail(ExitNotStored, "could not write " + Utf8From(path));
    return Finish(read, Line(Programs(Registered(file).size()) + " and the settings written to " + Utf8From(path)));
}

// One imported program, in the code page.
struct ImportedSlot {
    int key = -1;
    std::string entry;
    std::optional<std::string> title;
};

// What a backup holds, checked whole before anything is written.
struct Imported {
    std::vector<SettingValue> environment;
    int perPage = kDefaultButtonsPerPage;  // the buttons a page the backup's slots are counted in
    std::map<int, ImportedSlot> slots;
};

const JsonValue *TextMember(const JsonValue &object, const char *name, const std::string &where, std::string &error)
{
    const JsonValue *value = JsonMember(object, name);
    if (value && value->kind != JsonValue::Kind::String) {
        error = where + ": \"" + name + "\" must be a string";
        return nullptr;
    }
    return value;
}

// Item `where` of "programs". Once its slot is known, a refusal names the slot.
std::optional<ImportedSlot> ImportSlot(const JsonValue &item, const std::string &where, int perPage,
                                       std::string &error)
{
    if (item.kind != JsonValue::Kind::Object) {
        error = where + " must be an object";
        return std::nullopt;
    }
    ImportedSlot slot;
    const JsonValue *key = JsonMember(item, "key");
    const JsonValue *page = JsonMember(item, "page");
    const JsonValue *position = JsonMember(item, "slot");
    if (key) {
        const auto n = JsonInteger(*key);
        slot.key = n && *n >= 0 && *n <= kLastSlotKey ? static_cast<int>(*n) : -1;
    } else if (page && position) {
        const auto p = JsonInteger(*page), s = JsonInteger(*position);
        if (p && s && *p >= 1 && *p <= kMaxPages && *s >= 1 && *s <= perPage)
            slot.key = static_cast<int>((*p - 1) * perPage + (*s - 1));
    }
    if (slot.key < 0) {
        error = where + ": no slot (\"key\" 0 to " + std::to_string(kLastSlotKey) +
                ", or \"page\" and \"slot\" within the bar)";
        return std::nullopt;
    }
    const std::string at = SlotPlace(slot.key, perPage);
    // The slot named in front of what `check` found wrong.
    const auto named = [&](bool ok) {
        if (!ok)
            error = at + ": " + error;
        return ok;
    };
    const JsonValue *entry = TextMember(item, "entry", at, error);
    const JsonValue *command = TextMember(item, "command", at, error);
    const JsonValue *title = TextMember(item, "title", at, error);
    if (!error.empty())
        return std::nullopt;
    if (entry) {
        auto text = StorableText(entry->text, "the entry", error);
        if (!text) {
            error.clear();
            text = RespeltEntry(entry->text, "the entry", error);
        }
        if (!named(text.has_value()))
            return std::nullopt;
        slot.entry = *text;
    } else if (command) {
        // Written by hand: the fields, as the Program Definition dialog would store them.
        ProgramFields fields;
        const auto text = StorableText(command->text, "the command", error);
        if (!named(text.has_value()))
            return std::nullopt;
        fields.program = *text;
        if (const JsonValue *dir = TextMember(item, "directory", at, error)) {
            const auto d = StorableText(dir->text, "the directory", error);
            if (!named(d.has_value()))
                return std::nullopt;
            fields.directory = *d;
        }
        if (const JsonValue *iconFile = TextMember(item, "iconFile", at, error)) {
            const auto f = StorableText(iconFile->text, "the icon file", error);
            if (!named(f.has_value()))
                return std::nullopt;
            fields.iconFile = *f;
        } else {
            fields.iconFile = InterlockIconFile(fields.program);
        }
        if (const JsonValue *index = JsonMember(item, "iconIndex")) {
            const auto n = JsonInteger(*index);
            fields.iconIndex = n && *n >= 0 && *n <= 0xFFFF ? static_cast<int>(*n) : -1;
        }
        const JsonValue *minimized = JsonMember(item, "minimized");
        fields.runMinimized = minimized && minimized->kind == JsonValue::Kind::Bool && minimized->boolean;
        if (!error.empty())
            return std::nullopt;
        const auto value = fields.iconIndex < 0 ? std::nullopt : StoredValueFromFields(fields);
        if (!value) {
            error = at + ": needs a command, an icon file and an icon index from 0 to 65535";
            return std::nullopt;
        }
        slot.entry = *value;
    }
    if (slot.entry.empty()) {
        error = at + ": needs an \"entry\" (or a \"command\")";
        return std::nullopt;
    }
    if (!named(StorableEntry(slot.entry, PlanSlotStart(slot.entry, IsSystemLeadByte).program, error)))
        return std::nullopt;
    if (title && !named((slot.title = StorableTitle(title->text, error)).has_value()))
        return std::nullopt;
    return slot;
}

std::optional<Imported> ReadBackup(const JsonValue &root, const BarFile &file, std::string &error)
{
    Imported imported;
    if (root.kind != JsonValue::Kind::Object || !JsonMember(root, "tav")) {
        error = "not a tavctl export (no \"tav\" object)";
        return std::nullopt;
    }
    imported.perPage = file.perPage;
    if (const JsonValue *environment = JsonMember(root, "environment")) {
        if (environment->kind != JsonValue::Kind::Object) {
            error = "\"environment\" must be an object";
            return std::nullopt;
        }
        const JsonValue *maximum = JsonMember(*environment, kKeyMaximumPages);
        const int limit = maximum ? ClampMaximumPages(LeadingInt(maximum->text)) : file.pages;
        std::map<std::string_view, std::string_view> named;  // each key the bar reads, by the name that set it
        for (const auto &[name, value] : environment->members) {
            if (value.kind != JsonValue::Kind::String && value.kind != JsonValue::Kind::Number) {
                error = "environment." + name + " must be a number or a string";
                return std::nullopt;
            }
            auto setting = SettingToStore(name, value.text, limit, error);
            if (!setting)
                return std::nullopt;
            // The bar reads names without regard to case: two of them would set one key twice.
            if (const auto [earlier, fresh] = named.emplace(setting->key, name); !fresh) {
                error = "environment." + name + " sets " + setting->key + " again, after \"" +
                        std::string(earlier->second) + "\"";
                return std::nullopt;
            }
            if (setting->key == std::string_view(kKeyButtonsPerPage))
                imported.perPage = LeadingInt(setting->stored);
            imported.environment.push_back(std::move(*setting));
        }
    }
    const JsonValue *programs = JsonMember(root, "programs");
    if (programs && programs->kind != JsonValue::Kind::Array) {
        error = "\"programs\" must be an array";
        return std::nullopt;
    }
    for (std::size_t i = 0; programs && i < programs->items.size(); ++i) {
        const std::string where = "programs[" + std::to_string(i) + "]";
        auto slot = ImportSlot(programs->items[i], where, imported.perPage, error);
        if (!slot)
            return std::nullopt;
        if (imported.slots.count(slot->key)) {
            error = SlotPlace(slot->key, imported.perPage) + ": a second program in the file (" + where + ")";
            return std::nullopt;
        }
        imported.slots[slot->key] = std::move(*slot);
    }
    return imported;
}

int Import(const CtlRequest &request)
{
    const std::wstring path = FullPath(WideFromUtf8(request.operands[0]));
    const std::string shown = Utf8From(path);
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return Fail(ExitBadInput, "cannot read " + shown);
    std::string error;
    const std::optional<JsonValue> root = ParseJson(*text, error);
    if (!root)
        return Fail(ExitBadInput, shown + ": " + error);
    std::size_t count = 0;
    std::vector<std::string> changes;  // with --dry-run: what the import would change (code page)
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        const std::optional<Imported> imported = ReadBackup(*root, file, error);
        if (!imported)
            return Refused(ExitBadInput, shown + ": " + error);
        // What the import would lose: with --merge a program it writes over, without it
        // every program the backup does not hold as it stands.
        int lost = 0;
        std::string firstLost;
        for (const SlotReport &held : Registered(file)) {
            const auto in = imported->slots.find(held.key);
            const bool same = in != imported->slots.end() && in->second.entry == held.entry;
            if (same || (request.merge && in == imported->slots.end()))
                continue;
            if (lost++ == 0)
                firstLost = Where(held.page, held.slot);
        }
        if (lost && !request.replace)
            return Refused(ExitBadInput, "the import would " + std::string(request.merge ? "write over " : "drop ") +
                                             Programs(lost) + " (first " + firstLost + "); --replace " +
                                             (request.merge ? "writes over them"
                                                            : "drops them, --merge keeps those it does not hold"));
        std::vector<std::string> names;  // SetSectionValues keeps pointers to them
        std::vector<std::pair<const char *, std::string>> values;
        names.reserve(imported->slots.size() * 2);
        for (const auto &[key, slot] : imported->slots) {
            names.push_back(ProfileKey(key));
            values.emplace_back(names.back().c_str(), slot.entry);
            // A merge writes an empty title where the backup has none, over a title of an earlier program.
            if (slot.title || (request.merge && KeyValue(file, TitleKey(key)))) {
                names.push_back(TitleKey(key));
                values.emplace_back(names.back().c_str(), slot.title.value_or(""));
            }
        }
        const std::string programs = SetSectionValues(request.merge ? std::string_view(file.programs) : "", values);
        std::vector<std::pair<const char *, std::string>> settings;
        if (!request.merge)
            for (const SettingValue &s : imported->environment)
                settings.emplace_back(s.key, s.stored);
        const std::string environment = settings.empty() ? file.environment
                                                         : SetSectionValues(file.environment, settings);
        count = imported->slots.size();
        if (request.dryRun) {
            changes = SettingChanges(file.environment, environment, IsSystemLeadByte);
            const int perPage = request.merge ? file.perPage : imported->perPage;
            for (std::string &line : ProgramChanges(file.programs, programs, perPage, IsSystemLeadByte))
                changes.push_back(std::move(line));
            return Outcome{};
        }
        if ((!settings.empty() && !WriteProfileSection(kEnvironmentSection, environment)) ||
            !WriteProfileSection(kProgramSection, programs))
            return Refused(ExitNotStored, NotStored());
        return {ExitDone, "", true};
    });
    if (outcome.code != ExitDone)
        return Finish(outcome, "");
    if (!request.dryRun)
        return Finish(outcome, Line(Programs(count) + " imported from " + shown + (request.merge ? " (merged)" : "")));
    std::string out;
    for (const std::string &line : changes)
        out += Line(Utf8FromCodePage(line));
    const std::size_t n = changes.size();
    return Finish(outcome, out + Line(Programs(count) + " in " + shown + ": " +
                                      (n ? std::to_string(n) + (n == 1 ? " change" : " changes")
                                         : std::string("nothing would change")) +
                                      "; nothing written (--dry-run)"));
}

// ---- Start at log-on ----

int Autostart(const CtlRequest &request)
{
    const std::string where = std::string("HKEY_CURRENT_USER\\") + kRunKey;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyW, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return Fail(ExitNotStored, "cannot open " + where);
    int code = ExitDone;
    if (request.operands[0] == "on") {
        wchar_t self[MAX_PATH * 4] = {};
        const DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
        std::wstring bar = std::wstring(self, n);
        bar = bar.substr(0, bar.find_last_of(L'\\') + 1) + L"TAV.EXE";
        const std::wstring value = L"\"" + bar + L"\"";
        if (GetFileAttributesW(bar.c_str()) == INVALID_FILE_ATTRIBUTES)
            code = Fail(ExitBadInput, "no TAV.EXE beside tavctl.exe (" + Utf8From(bar) + ")");
        else if (RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            code = Fail(ExitNotStored, "cannot write " + where);
        else
            Say(where + "\\TAV! = " + Utf8From(value));
    } else {
        const LONG result = RegDeleteValueW(key, kRunValue);
        if (result == ERROR_SUCCESS)
            Say(where + "\\TAV! removed");
        else if (result == ERROR_FILE_NOT_FOUND)
            Say(where + " holds no TAV!: nothing to remove");
        else
            code = Fail(ExitNotStored, "cannot remove TAV! from " + where);
    }
    RegCloseKey(key);
    return code;
}

constexpr char kHelp[] = R"(tavctl: the TAV! bar's programs and settings, from a command line or a script.

  tavctl list [--page N] [--json]
  tavctl add PATH [ARGS...] [--page N] [--slot K] [--title T] [--dir D]
             [--icon FILE[,INDEX]] [--minimized] [--replace] [--json]
  tavctl remove --page N --slot K
  tavctl move --page N --slot K [--to-page P] --to-slot Q     (exchanges the two)
  tavctl title --page N --slot K TEXT
  tavctl set KEY VALUE      KEY: Japan, mode, "maximum pages", "startup page",
                            "buttons par page", position, "hot key" (or hotkey:
                            Ctrl+Alt+T, none)
  tavctl export FILE|-
  tavctl import FILE [--merge] [--replace] [--dry-run]
  tavctl autostart on|off
  tavctl --version

Pages and slots count from 1. add takes the first empty slot of the page, or
of the bar, unless --slot names one; program arguments that begin with --
go after "--". Changes go to the TAV.INI the bar reads; a running bar reloads.
Exit codes: 0 done, 1 TAV.INI or a file could not be written, 2 bad input.
)";

} // namespace

int main()
{
    int count = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; argv && i < count; ++i)
        args.push_back(Utf8From(argv[i]));
    LocalFree(argv);

    std::string error;
    const std::optional<CtlRequest> request = ParseCtlArguments(args, error);
    if (!request)
        return Fail(ExitBadInput, error);
    const std::string &verb = request->verb;
    if (verb == "help")
        return Write(STD_OUTPUT_HANDLE, kHelp), ExitDone;
    if (verb == "usage")
        return Write(STD_ERROR_HANDLE, kHelp), ExitBadInput;
    if (verb == "version")
        return Write(STD_OUTPUT_HANDLE, "tavctl " TAV_VERSION_TEXT "\n"), ExitDone;
    if (verb == "autostart")
        return Autostart(*request);
    // A file another program holds would read as empty and be written over.
    if (!ProfileReadable())
        return Fail(ExitNotStored, "TAV.INI is held by another program; nothing was read or written");
    static const struct {
        const char *verb;
        int (*run)(const CtlRequest &);
    } kRunners[] = {{"list", List},   {"add", Add}, {"remove", Remove},    {"move", Move},
                    {"title", Title}, {"set", Set}, {"export", Export}, {"import", Import}};
    for (const auto &runner : kRunners)
        if (verb == runner.verb)
            return runner.run(*request);
    return Fail(ExitBadInput, "unknown command '" + verb + "'");
}
