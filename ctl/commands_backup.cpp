#include "ctl/commands.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ctl/bar_file.h"
#include "ctl/console.h"
#include "ctl/json_rules.h"
#include "ctl/storable.h"
#include "ini/code_page_path.h"

namespace tavctl {

namespace {

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

} // namespace

int Export(const CtlRequest &request)
{
    BarFile file;
    const Outcome read = ReadUnderLock(file);
    if (read.code != ExitDone)
        return Finish(read, "");
    const std::string text = ExportText(file);
    if (request.operands[0] == "-")
        return Finish(read, text);
    const std::wstring path = FullPath(WideFromUtf8(request.operands[0]));
    if (!WriteWholeFile(path, text, false))
        return Fail(ExitNotStored, "could not write " + Utf8From(path));
    return Finish(read, Line(Programs(Registered(file).size()) + " and the settings written to " + Utf8From(path)));
}

namespace {

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

// Item `where` of "programs". Once its slot is known, a refusal names the slot.
std::optional<ImportedSlot> ImportSlot(const JsonValue &item, const std::string &where, int perPage,
                                       std::string &error)
{
    if (item.kind != JsonValue::Kind::Object) {
        error = where + " must be an object";
        return std::nullopt;
    }
    ImportedSlot slot;
    slot.key = ImportedSlotKey(item, perPage);
    if (slot.key < 0) {
        error = where + ": no slot (\"key\" 0 to " + std::to_string(kLastSlotKey) +
                ", or \"page\" and \"slot\" within the bar)";
        return std::nullopt;
    }
    const std::string at = SlotPlace(slot.key, perPage);
    // The slot named in front of what a check found wrong.
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
        const std::optional<std::string> value = HandWrittenEntry(item, at, StorableText, error);
        if (!value)
            return std::nullopt;
        slot.entry = *value;
    }
    if (slot.entry.empty()) {
        error = at + ": needs an \"entry\" (or a \"command\")";
        return std::nullopt;
    }
    if (!named(StorableEntry(slot.entry, EntryProgram(slot.entry), error)))
        return std::nullopt;
    if (title && !named((slot.title = StorableTitle(title->text, error)).has_value()))
        return std::nullopt;
    return slot;
}

// The backup's "environment" object, each setting as the bar would store it.
bool ReadEnvironment(const JsonValue &environment, const BarFile &file, Imported &imported, std::string &error)
{
    if (environment.kind != JsonValue::Kind::Object) {
        error = "\"environment\" must be an object";
        return false;
    }
    const JsonValue *maximum = JsonMember(environment, kKeyMaximumPages);
    const int limit = maximum ? ClampMaximumPages(LeadingInt(maximum->text)) : file.pages;
    std::map<std::string_view, std::string_view> named;  // each key the bar reads, by the name that set it
    for (const auto &[name, value] : environment.members) {
        if (value.kind != JsonValue::Kind::String && value.kind != JsonValue::Kind::Number) {
            error = "environment." + name + " must be a number or a string";
            return false;
        }
        auto setting = SettingToStore(name, value.text, limit, error);
        if (!setting)
            return false;
        // The bar reads names without regard to case: two of them would set one key twice.
        if (const auto [earlier, fresh] = named.emplace(setting->key, name); !fresh) {
            error = "environment." + name + " sets " + setting->key + " again, after \"" +
                    std::string(earlier->second) + "\"";
            return false;
        }
        if (setting->key == std::string_view(kKeyButtonsPerPage))
            imported.perPage = LeadingInt(setting->stored);
        imported.environment.push_back(std::move(*setting));
    }
    return true;
}

std::optional<Imported> ReadBackup(const JsonValue &root, const BarFile &file, std::string &error)
{
    Imported imported;
    if (root.kind != JsonValue::Kind::Object || !JsonMember(root, "tav")) {
        error = "not a tavctl export (no \"tav\" object)";
        return std::nullopt;
    }
    imported.perPage = file.perPage;
    const JsonValue *environment = JsonMember(root, "environment");
    if (environment && !ReadEnvironment(*environment, file, imported, error))
        return std::nullopt;
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

// Why the import may not go ahead as asked, or "": with --merge it would write over a program,
// without it drop one the backup does not hold as it stands, and --replace does not allow that.
std::string ImportLosses(const BarFile &file, const Imported &imported, const CtlRequest &request)
{
    int lost = 0;
    std::string firstLost;
    for (const SlotReport &held : Registered(file)) {
        const auto in = imported.slots.find(held.key);
        const bool same = in != imported.slots.end() && in->second.entry == held.entry;
        if (same || (request.merge && in == imported.slots.end()))
            continue;
        if (lost++ == 0)
            firstLost = Where(held.page, held.slot);
    }
    if (!lost || request.replace)
        return "";
    return "the import would " + std::string(request.merge ? "write over " : "drop ") + Programs(lost) + " (first " +
           firstLost + "); --replace " +
           (request.merge ? "writes over them" : "drops them, --merge keeps those it does not hold");
}

// The program section after the import: the backup's programs, over the file's with --merge.
std::string ImportedPrograms(const BarFile &file, const Imported &imported, bool merge)
{
    std::vector<std::string> names;  // SetSectionValues keeps pointers to them
    std::vector<std::pair<const char *, std::string>> values;
    names.reserve(imported.slots.size() * 2);
    for (const auto &[key, slot] : imported.slots) {
        names.push_back(ProfileKey(key));
        values.emplace_back(names.back().c_str(), slot.entry);
        // A merge writes an empty title where the backup has none, over a title of an earlier program.
        if (slot.title || (merge && KeyValue(file, TitleKey(key)))) {
            names.push_back(TitleKey(key));
            values.emplace_back(names.back().c_str(), slot.title.value_or(""));
        }
    }
    return SetSectionValues(merge ? std::string_view(file.programs) : "", values);
}

// The import of `root` under the writers' lock: the file read, the backup checked against it and
// written, or with --dry-run the `changes` it would make (code page). `count`: its programs.
Outcome ImportUnderLock(const JsonValue &root, const CtlRequest &request, const std::string &shown,
                        std::size_t &count, std::vector<std::string> &changes)
{
    BarFile file;
    ReadBarFile(file);
    std::string error;
    const std::optional<Imported> imported = ReadBackup(root, file, error);
    if (!imported)
        return Refused(ExitBadInput, shown + ": " + error);
    if (std::string losses = ImportLosses(file, *imported, request); !losses.empty())
        return Refused(ExitBadInput, std::move(losses));
    const std::string programs = ImportedPrograms(file, *imported, request.merge);
    std::vector<std::pair<const char *, std::string>> settings;
    if (!request.merge)
        for (const SettingValue &s : imported->environment)
            settings.emplace_back(s.key, s.stored);
    const std::string environment = settings.empty() ? file.environment : SetSectionValues(file.environment, settings);
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
}

} // namespace

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
    const Outcome outcome = UnderLock([&] { return ImportUnderLock(*root, request, shown, count, changes); });
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

} // namespace tavctl
