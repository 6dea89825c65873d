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

void Say(const std::string &utf8) { Write(STD_OUTPUT_HANDLE, utf8 + "\n"); }

// One line, and the exit code that goes with it.
int Fail(int code, const std::string &utf8)
{
    Write(STD_ERROR_HANDLE, "tavctl: " + utf8 + "\n");
    return code;
}

std::string CodePageName()
{
    return "code page " + std::to_string(GetACP());
}

// ---- The bar's file ----

struct BarFile {
    int perPage = kDefaultButtonsPerPage;
    int pages = kDefaultMaximumPages;
    std::string environment;  // the section as read, for SetSectionValues
    std::string programs;     // the section text the views of `section` point into
    ProfileSection section;
};

// The bar's grid and both sections, as the bar would read them now.
BarFile ReadBarFile()
{
    BarFile file;
    BarSettings settings;
    LoadSettings(false, settings);
    file.perPage = settings.columns * settings.rows;
    file.pages = settings.maximumPages;
    file.environment = ReadEnvironmentSection();
    file.programs = ReadProgramSection();
    file.section = ParseProfileSection(file.programs, IsSystemLeadByte);
    return file;
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

std::string NotStored() { return "TAV.INI could not be written (" + Utf8FromCodePage(ProfilePath()) + ")"; }

std::string Programs(std::size_t n) { return std::to_string(n) + (n == 1 ? " program" : " programs"); }

std::string Where(int page, int slot) { return "page " + std::to_string(page) + " slot " + std::to_string(slot); }

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
    const CodePagePath spelt = SpellPath(path, PathUse::EntryField, kValueBuffer - 1);
    const std::string shown = Utf8From(path);
    switch (spelt.refusal) {
    case PathRefusal::None: return spelt.path;
    case PathRefusal::NotInCodePage:
        error = shown + ": the name has characters " + CodePageName() + " cannot hold, and no short name without them";
        break;
    case PathRefusal::HasDelimiter:
        error = shown + ": a comma or tab in the name would end the entry's field, and it has no short name without";
        break;
    case PathRefusal::TooLong: error = shown + ": the path is too long for an entry"; break;
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
    return title;
}

// ---- The verbs ----

int List(const CtlRequest &request)
{
    BarFile file;
    {
        const ProfileLock lock;
        file = ReadBarFile();
    }
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
    Write(STD_OUTPUT_HANDLE, out);
    return ExitDone;
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
    if (entry.size() >= kValueBuffer)
        return Fail(ExitBadInput, "the entry would be " + std::to_string(entry.size()) + " bytes; the bar reads " +
                                      std::to_string(kValueBuffer - 1));

    int key = -1;
    {
        // The slot is chosen and written in one hold of the lock, so two adds at once
        // never pick the same empty slot.
        const ProfileLock lock;
        const BarFile file = ReadBarFile();
        if (request.slot) {
            const auto at = SlotKeyOf(request.page.value_or(1), *request.slot, file.perPage, file.pages, error);
            if (!at)
                return Fail(ExitBadInput, error);
            key = *at;
            const std::string held = EntryAt(file, key);
            if (!held.empty() && !request.replace)
                return Fail(ExitBadInput, Where(request.page.value_or(1), *request.slot) + " holds " +
                                              Utf8FromCodePage(ParseProgramEntry(held, CommandExtent::Remainder).command) +
                                              " (--replace registers over it)");
        } else {
            if (request.page && !SlotKeyOf(*request.page, 1, file.perPage, file.pages, error))
                return Fail(ExitBadInput, error);
            const int first = request.page ? (*request.page - 1) * file.perPage : 0;
            const int last = request.page ? first + file.perPage : file.pages * file.perPage;
            for (int k = first; k < last && key < 0; ++k)
                if (EntryAt(file, k).empty())
                    key = k;
            if (key < 0)
                return Fail(ExitBadInput, request.page ? "page " + std::to_string(*request.page) + " has no empty slot"
                                                       : "the bar has no empty slot (--page and --slot choose one)");
        }
        // A title of an earlier program must not stay with this one.
        if (!WriteSlotKeys(key, entry, title))
            return Fail(ExitNotStored, NotStored());
        Say(Where(key / file.perPage + 1, key % file.perPage + 1) + ": " + Utf8FromCodePage(*command));
    }
    Announce();
    return ExitDone;
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
    std::string error;
    {
        const ProfileLock lock;
        const int key = RequestedKey(ReadBarFile(), *request.page, *request.slot, true, error);
        if (key < 0)
            return Fail(ExitBadInput, error);
        if (!WriteSlotKeys(key, std::nullopt, std::nullopt))
            return Fail(ExitNotStored, NotStored());
    }
    Say(Where(*request.page, *request.slot) + ": removed");
    Announce();
    return ExitDone;
}

int Move(const CtlRequest &request)
{
    std::string error;
    const int toPage = request.toPage.value_or(*request.page);
    {
        const ProfileLock lock;
        const BarFile file = ReadBarFile();
        const int from = RequestedKey(file, *request.page, *request.slot, false, error);
        const int to = from < 0 ? -1 : RequestedKey(file, toPage, *request.toSlot, false, error);
        if (to < 0)
            return Fail(ExitBadInput, error);
        if (EntryAt(file, from).empty() && EntryAt(file, to).empty())
            return Fail(ExitBadInput, "both slots are empty");
        switch (ExchangeProgramSlots(from, to)) {
        case SlotExchange::Done: break;
        case SlotExchange::NotRead: return Fail(ExitNotStored, "an entry is too long to be read whole; nothing moved");
        case SlotExchange::NotStored: return Fail(ExitNotStored, NotStored());
        }
    }
    Say(Where(*request.page, *request.slot) + " and " + Where(toPage, *request.toSlot) + ": exchanged");
    Announce();
    return ExitDone;
}

int Title(const CtlRequest &request)
{
    std::string error;
    const std::optional<std::string> title = StorableTitle(request.operands[0], error);
    if (!title)
        return Fail(ExitBadInput, error);
    {
        const ProfileLock lock;
        const int key = RequestedKey(ReadBarFile(), *request.page, *request.slot, true, error);
        if (key < 0)
            return Fail(ExitBadInput, error);
        if (!WriteProgramKey(TitleKey(key).c_str(), title->c_str()))
            return Fail(ExitNotStored, NotStored());
    }
    Say(Where(*request.page, *request.slot) + ": title " + request.operands[0]);
    Announce();
    return ExitDone;
}

int Set(const CtlRequest &request)
{
    std::string error;
    std::string stored;
    const char *key = nullptr;
    {
        const ProfileLock lock;
        const BarFile file = ReadBarFile();
        const auto setting = SettingToStore(request.operands[0], request.operands[1], file.pages, error);
        if (!setting)
            return Fail(ExitBadInput, error);
        key = setting->key;
        stored = setting->stored;
        if (!WriteProfileKey(kEnvironmentSection, key, stored.c_str()))
            return Fail(ExitNotStored, NotStored());
    }
    const bool atNextStart = key == std::string_view(kKeyJapan) || key == std::string_view(kKeyStartupPage);
    Say(std::string(key) + " = " + stored +
        (atNextStart && FindWindowA(kBarClassName, kBarTitle) ? " (the running bar takes it at its next start)"
                                                                           : ""));
    Announce();
    return ExitDone;
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
    {
        const ProfileLock lock;
        file = ReadBarFile();
    }
    const std::string text = ExportText(file);
    if (request.operands[0] == "-") {
        Write(STD_OUTPUT_HANDLE, text);
        return ExitDone;
    }
    const std::wstring path = FullPath(WideFromUtf8(request.operands[0]));
    if (!WriteWholeFile(path, text))
        return Fail(ExitNotStored, "could not write " + Utf8From(path));
    Say(Programs(Registered(file).size()) + " and the settings written to " + Utf8From(path));
    return ExitDone;
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
    std::map<int, ImportedSlot> slots;
};

const JsonValue *TextMember(const JsonValue &object, const char *name, const std::string &where, std::string &error)
{
    const JsonValue *value = JsonMember(object, name);
    if (value && value->kind != JsonValue::Kind::String) {
        error = where + "." + name + " must be a string";
        return nullptr;
    }
    return value;
}

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
    const JsonValue *entry = TextMember(item, "entry", where, error);
    const JsonValue *command = TextMember(item, "command", where, error);
    const JsonValue *title = TextMember(item, "title", where, error);
    if (!error.empty())
        return std::nullopt;
    if (entry) {
        auto text = StorableText(entry->text, where + ".entry", error);
        if (!text) {
            error.clear();
            text = RespeltEntry(entry->text, where + ".entry", error);
        }
        if (!text)
            return std::nullopt;
        slot.entry = *text;
    } else if (command) {
        // Written by hand: the fields, as the Program Definition dialog would store them.
        ProgramFields fields;
        const auto text = StorableText(command->text, where + ".command", error);
        if (!text)
            return std::nullopt;
        fields.program = *text;
        if (const JsonValue *dir = TextMember(item, "directory", where, error)) {
            const auto d = StorableText(dir->text, where + ".directory", error);
            if (!d)
                return std::nullopt;
            fields.directory = *d;
        }
        if (const JsonValue *iconFile = TextMember(item, "iconFile", where, error)) {
            const auto f = StorableText(iconFile->text, where + ".iconFile", error);
            if (!f)
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
            error = where + ": needs a command, an icon file and an icon index from 0 to 65535";
            return std::nullopt;
        }
        slot.entry = *value;
    }
    if (slot.entry.empty() || slot.entry.size() >= kValueBuffer) {
        error = where + ": needs an \"entry\" (or a \"command\") of at most " + std::to_string(kValueBuffer - 1) +
                " bytes";
        return std::nullopt;
    }
    if (title && !(slot.title = StorableTitle(title->text, error))) {
        error = where + ": " + error;
        return std::nullopt;
    }
    return slot;
}

std::optional<Imported> ReadBackup(const JsonValue &root, const BarFile &file, std::string &error)
{
    Imported imported;
    if (root.kind != JsonValue::Kind::Object || !JsonMember(root, "tav")) {
        error = "not a tavctl export (no \"tav\" object)";
        return std::nullopt;
    }
    int perPage = file.perPage;
    if (const JsonValue *environment = JsonMember(root, "environment")) {
        if (environment->kind != JsonValue::Kind::Object) {
            error = "\"environment\" must be an object";
            return std::nullopt;
        }
        for (const auto &[name, value] : environment->members) {
            if (value.kind != JsonValue::Kind::String && value.kind != JsonValue::Kind::Number) {
                error = "environment." + name + " must be a number or a string";
                return std::nullopt;
            }
            const JsonValue *maximum = JsonMember(*environment, kKeyMaximumPages);
            const int limit = maximum ? ClampMaximumPages(LeadingInt(maximum->text)) : file.pages;
            auto setting = SettingToStore(name, value.text, limit, error);
            if (!setting)
                return std::nullopt;
            if (setting->key == std::string_view(kKeyButtonsPerPage))
                perPage = LeadingInt(setting->stored);
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
        auto slot = ImportSlot(programs->items[i], where, perPage, error);
        if (!slot)
            return std::nullopt;
        if (imported.slots.count(slot->key)) {
            error = where + ": a second program for key " + std::to_string(slot->key);
            return std::nullopt;
        }
        imported.slots[slot->key] = std::move(*slot);
    }
    return imported;
}

int Import(const CtlRequest &request)
{
    const std::wstring path = FullPath(WideFromUtf8(request.operands[0]));
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return Fail(ExitBadInput, "cannot read " + Utf8From(path));
    std::string error;
    const std::optional<JsonValue> root = ParseJson(*text, error);
    if (!root)
        return Fail(ExitBadInput, Utf8From(path) + ": " + error);
    std::size_t written = 0;
    {
        const ProfileLock lock;
        const BarFile file = ReadBarFile();
        const std::optional<Imported> imported = ReadBackup(*root, file, error);
        if (!imported)
            return Fail(ExitBadInput, Utf8From(path) + ": " + error);
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
            return Fail(ExitBadInput, "the import would " + std::string(request.merge ? "write over " : "drop ") +
                                          Programs(lost) + " (first " +
                                          firstLost + "); --replace " + (request.merge ? "writes over" : "drops") +
                                          (request.merge ? " them" : " them, --merge keeps those it does not hold"));
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
        if ((!settings.empty() &&
             !WriteProfileSection(kEnvironmentSection, SetSectionValues(file.environment, settings))) ||
            !WriteProfileSection(kProgramSection, programs))
            return Fail(ExitNotStored, NotStored());
        written = imported->slots.size();
    }
    Say(Programs(written) + " imported from " + Utf8From(path) + (request.merge ? " (merged)" : ""));
    Announce();
    return ExitDone;
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
             [--icon FILE[,INDEX]] [--minimized] [--replace]
  tavctl remove --page N --slot K
  tavctl move --page N --slot K [--to-page P] --to-slot Q     (exchanges the two)
  tavctl title --page N --slot K TEXT
  tavctl set KEY VALUE      KEY: Japan, mode, "maximum pages", "startup page",
                            "buttons par page", position
  tavctl export FILE|-
  tavctl import FILE [--merge] [--replace]
  tavctl autostart on|off

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
