// tavctl's rules that need no Windows: the command line it takes, where a
// page and slot put a program, the environment keys it may set and how
// they are clamped, the command and entry it registers, the programs of a
// backup, and the lines and JSON objects it prints. The calls are in the
// commands_*.cpp files.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ini/code_page_rules.h"
#include "ini/entry_rules.h"
#include "ini/settings_rules.h"

struct JsonValue;

// Exit codes: 0 done; the change could not be stored or the bar's file not read; bad input.
enum CtlExit : int { ExitDone = 0, ExitNotStored = 1, ExitBadInput = 2 };

struct CtlRequest {
    std::string verb;  // "list", "add", ... ; "help" for --help, "version" for --version, "usage" for nothing
    std::vector<std::string> operands;    // what is not an option, in order (UTF-8)
    std::optional<int> page, slot, toPage, toSlot;  // 1-based, as typed
    std::optional<std::string> title, directory, icon;
    bool minimized = false, replace = false, merge = false, json = false, dryRun = false;
};

// Parses the arguments after the program's name (UTF-8). Options come in
// the forms "--name value" and "--name=value"; "--" ends them, and every
// later argument is an operand however it looks. An option the verb does
// not take, a number out of its range, or the wrong number of operands is
// refused with one line in `error`.
std::optional<CtlRequest> ParseCtlArguments(const std::vector<std::string> &args, std::string &error);

// The highest slot key a bar of any size holds.
constexpr int kLastSlotKey = kMaxPages * kMaxButtonsPerPage - 1;

// "page P slot S" of slot key `key` on a bar of `perPage` buttons a page.
std::string SlotPlace(int key, int perPage);

// The slot key number of page `page`, slot `slot` (both 1-based) on a bar of
// `perPage` buttons and `pages` pages; nothing, with `error` saying why, when
// the bar has no such slot.
std::optional<int> SlotKeyOf(int page, int slot, int perPage, int pages, std::string &error);

// An environment key as tavctl sets it: the stored name (matched without
// regard to case) and the text stored for `value` after the bar's clamps
// ("startup page" against `maximumPages`; "hot key", also named "hotkey", in
// its stored form). Nothing, with `error`, for a key the bar does not read or a
// value that is no number (no "x,y" for "position", no key for "hot key").
struct SettingValue {
    const char *key = nullptr;
    std::string stored;
};
std::optional<SettingValue> SettingToStore(std::string_view key, std::string_view value, int maximumPages,
                                           std::string &error);
// The environment keys the bar reads, in the order it reads them.
extern const char *const kEnvironmentKeys[7];

// One argument as the started program's command line must carry it to come
// back the same: quoted when it is empty or holds a blank or a quote, with
// the quotes and the backslashes before them escaped. `isLead` keeps a
// double-byte character's trail byte from counting as a backslash.
std::string QuotedArgument(std::string_view argument, LeadBytePredicate isLead);

// The command registered for `program` and `arguments` (code-page text):
// the program quoted, then each argument. Nothing, with `error`, when an
// argument holds a comma or tab: a click starts the command only up to the
// first of them.
std::optional<std::string> RegisteredCommand(std::string_view program, const std::vector<std::string> &arguments,
                                             LeadBytePredicate isLead, std::string &error);

// "--icon FILE[,INDEX]": the text after the last comma is the index when it
// is a number, else the whole text is the file.
struct IconChoice {
    std::string file;
    int index = 0;
};
std::optional<IconChoice> ParseIconChoice(std::string_view text, std::string &error);

// A registered slot as tavctl reports it.
struct SlotReport {
    int key = 0;
    int page = 0, slot = 0;  // 1-based, by the bar's buttons per page
    std::string entry;       // "profile%03d" as stored
    std::optional<std::string> title;  // "Title%03d"; nothing when the key is missing
};
// Tab-separated: page, slot, icon file, icon index, "minimized" or "normal",
// directory, command, title. The texts as given (the caller converts them).
std::string SlotLine(const SlotReport &report);
// The report as one JSON object (texts must be UTF-8): key, page, slot,
// entry, iconFile, iconIndex, minimized, directory, command and, when the
// key exists, title.
std::string SlotJson(const SlotReport &report, std::string_view indent);

// What the profile reader gives back for `value` stored as it stands: it drops the blanks around a
// value and a pair of quotes around it. tavctl stores only text that comes back as given.
std::string ReadBackValue(std::string_view value, LeadBytePredicate isLead);

// `utf8` on one line, for a message: control characters and the other line breaks (U+0085, U+2028,
// U+2029) written as escapes (\n, \r, \t, \x01, \u2028), so that an error stays one line whatever it quotes.
std::string OneLine(std::string_view utf8);

// What writing the sections `after` over `before` (both "key=value\0...\0\0", code-page text)
// changes as the bar would see it, one line each: for the programs every slot whose program or title
// changes, in key order, named on a bar of `perPage` buttons a page; for the settings every key the
// bar reads whose value changes.
std::vector<std::string> ProgramChanges(std::string_view before, std::string_view after, int perPage,
                                        LeadBytePredicate isLead);
std::vector<std::string> SettingChanges(std::string_view before, std::string_view after, LeadBytePredicate isLead);

// Member `name` of a backup's object when it is a string; nullptr when it is missing, and also,
// with `error` saying so (`where` in front), when it is something else.
const JsonValue *TextMember(const JsonValue &object, const char *name, const std::string &where, std::string &error);

// The slot key a backup's program names: "key" from 0 to kLastSlotKey, else "page" (1 to
// kMaxPages) and "slot" (1 to `perPage`) on a bar of `perPage` buttons a page; -1 when neither does.
int ImportedSlotKey(const JsonValue &item, int perPage);

// A program of a backup written by hand, stored as the Program Definition dialog stores its
// fields: "command", "directory" (else none), "iconFile" (else the file the dialog's interlock
// takes from the command), "iconIndex" (0 to 65535; else 0) and "minimized" (true or not). Each
// text goes into TAV.INI through `store` (into the code page, or why not, naming it `what`).
// Nothing, with `error` naming the slot `at` in front, when a member is of the wrong kind, a
// text cannot be stored, or no command, icon file or index within the range is left.
using TextToStore = std::optional<std::string> (*)(const std::string &utf8, const std::string &what,
                                                   std::string &error);
std::optional<std::string> HandWrittenEntry(const JsonValue &item, const std::string &at, TextToStore store,
                                            std::string &error);
