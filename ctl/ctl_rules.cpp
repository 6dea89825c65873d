#include "ctl/ctl_rules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "ctl/json_rules.h"
#include "ini/section_rules.h"
#include "ini/settings_rules.h"

namespace {

// Which options each verb takes, and how many operands (max -1: any number).
struct VerbRule {
    const char *verb;
    int minOperands, maxOperands;
    const char *options;  // space-separated, each framed by spaces
};

const VerbRule kVerbs[] = {
    {"list", 0, 0, " page json "},
    {"add", 1, -1, " page slot title dir icon minimized replace json "},
    {"remove", 0, 0, " page slot "},
    {"move", 0, 0, " page slot to-page to-slot "},
    {"title", 1, 1, " page slot "},
    {"set", 2, 2, " "},
    {"export", 1, 1, " "},
    {"import", 1, 1, " merge replace dry-run "},
    {"autostart", 1, 1, " "},
};

const char *const kSwitches[] = {"minimized", "replace", "merge", "json", "dry-run"};

bool Takes(const VerbRule &rule, std::string_view option)
{
    return std::strstr(rule.options, (" " + std::string(option) + " ").c_str()) != nullptr;
}

// A whole decimal number from 1 to `highest`.
std::optional<int> Ordinal(std::string_view text, int highest)
{
    if (text.empty() || text.size() > 4 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return std::nullopt;
    const int n = LeadingInt(text);
    return n >= 1 && n <= highest ? std::optional<int>(n) : std::nullopt;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A decimal integer, or hexadecimal after "0x", and nothing else.
std::optional<long long> WholeInteger(std::string_view text)
{
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+'))
        text.remove_prefix(1);
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex)
        text.remove_prefix(2);
    if (text.empty())
        return std::nullopt;
    // Saturated far beyond any key's range, as the bar reads a hand-edited huge number.
    constexpr long long kSaturated = 1LL << 40;
    long long v = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : hex && std::isxdigit(static_cast<unsigned char>(c))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        v = std::min(v * (hex ? 16 : 10) + digit, kSaturated);
    }
    return negative ? -v : v;
}

void AppendJsonMember(std::string &out, std::string_view indent, const char *name, const std::string &json,
                      bool last = false)
{
    out.append(indent).append("  ").append(JsonQuoted(name)).append(": ").append(json).append(last ? "\n" : ",\n");
}

} // namespace

const char *const kEnvironmentKeys[7] = {kKeyJapan, kKeyMode, kKeyMaximumPages, kKeyStartupPage,
                                         kKeyButtonsPerPage, kKeyPosition, kKeyHotKey};

namespace {

// Option `args[i]` ("--name" or "--name=value") of a verb `rule` describes, into `request`; `i`
// moves past a value given as the next argument.
bool TakeOption(const VerbRule &rule, const std::vector<std::string> &args, std::size_t &i, CtlRequest &request,
                std::string &error)
{
    const std::string &arg = args[i];
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    if (!Takes(rule, name)) {
        error = "'" + request.verb + "' takes no option --" + name +
                (request.verb == "add" ? " (program arguments that begin with -- go after --)" : "");
        return false;
    }
    if (std::find(std::begin(kSwitches), std::end(kSwitches), name) != std::end(kSwitches)) {
        if (equals != std::string::npos) {
            error = "--" + name + " takes no value";
            return false;
        }
        (name == "minimized" ? request.minimized
         : name == "replace" ? request.replace
         : name == "merge"   ? request.merge
         : name == "json"    ? request.json
                             : request.dryRun) = true;
        return true;
    }
    std::string value;
    if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        error = "--" + name + " needs a value";
        return false;
    }
    if (name == "title" || name == "dir" || name == "icon") {
        (name == "title" ? request.title : name == "dir" ? request.directory : request.icon) = value;
        return true;
    }
    const bool isPage = name == "page" || name == "to-page";
    const int highest = isPage ? kMaxPages : kMaxButtonsPerPage;
    const std::optional<int> n = Ordinal(value, highest);
    if (!n) {
        error = "--" + name + " takes a number from 1 to " + std::to_string(highest) + ", not '" + value + "'";
        return false;
    }
    (name == "page" ? request.page : name == "slot" ? request.slot : name == "to-page" ? request.toPage
                                                                                        : request.toSlot) = *n;
    return true;
}

// Whether the request has the operands and options its verb needs.
bool Complete(const VerbRule &rule, const CtlRequest &request, std::string &error)
{
    const int count = static_cast<int>(request.operands.size());
    if (count < rule.minOperands || (rule.maxOperands >= 0 && count > rule.maxOperands)) {
        error = "'" + request.verb + "' takes " +
                (rule.maxOperands < 0   ? "a program and its arguments"
                 : rule.maxOperands == 0 ? std::string("no operand")
                 : rule.minOperands == rule.maxOperands
                     ? std::to_string(rule.maxOperands) + (rule.maxOperands == 1 ? " operand" : " operands")
                     : "other operands") +
                ", not " + std::to_string(count) + " (tavctl --help)";
        return false;
    }
    const bool needsSlot = request.verb == "remove" || request.verb == "move" || request.verb == "title";
    if (needsSlot && (!request.page || !request.slot)) {
        error = "'" + request.verb + "' needs --page and --slot";
        return false;
    }
    if (request.verb == "move" && !request.toSlot) {
        error = "'move' needs --to-slot (and --to-page when it is another page)";
        return false;
    }
    if (request.verb == "autostart" && request.operands[0] != "on" && request.operands[0] != "off") {
        error = "autostart takes 'on' or 'off', not '" + request.operands[0] + "'";
        return false;
    }
    return true;
}

} // namespace

std::optional<CtlRequest> ParseCtlArguments(const std::vector<std::string> &args, std::string &error)
{
    CtlRequest request;
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "/?" || args[0] == "help" ||
        args[0] == "--version") {
        // Nothing at all is a mistake of the caller's, told with the usage, not a request for it.
        request.verb = args.empty() ? "usage" : args[0] == "--version" ? "version" : "help";
        return request;
    }
    const auto rule = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                   [&](const VerbRule &r) { return args[0] == r.verb; });
    if (rule == std::end(kVerbs)) {
        error = "unknown command '" + args[0] + "' (tavctl --help lists them)";
        return std::nullopt;
    }
    request.verb = rule->verb;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            request.operands.push_back(arg);
            continue;
        }
        if (!TakeOption(*rule, args, i, request, error))
            return std::nullopt;
    }
    return Complete(*rule, request, error) ? std::optional<CtlRequest>(request) : std::nullopt;
}

std::string SlotPlace(int key, int perPage)
{
    return "page " + std::to_string(key / perPage + 1) + " slot " + std::to_string(key % perPage + 1);
}

std::optional<int> SlotKeyOf(int page, int slot, int perPage, int pages, std::string &error)
{
    if (page < 1 || page > pages) {
        error = "page " + std::to_string(page) + " is beyond the bar's " + std::to_string(pages) +
                (pages == 1 ? " page" : " pages") + " (tavctl set \"maximum pages\" N adds pages)";
        return std::nullopt;
    }
    if (slot < 1 || slot > perPage) {
        error = "slot " + std::to_string(slot) + " is beyond the " + std::to_string(perPage) +
                " buttons of a page (tavctl set \"buttons par page\" N widens the bar)";
        return std::nullopt;
    }
    return (page - 1) * perPage + (slot - 1);
}

std::optional<SettingValue> SettingToStore(std::string_view key, std::string_view value, int maximumPages,
                                           std::string &error)
{
    const auto known = std::find_if(std::begin(kEnvironmentKeys), std::end(kEnvironmentKeys),
                                    [&](const char *k) {
                                        return SameName(k, key) || (k == kKeyHotKey && SameName("hotkey", key));
                                    });
    if (known == std::end(kEnvironmentKeys)) {
        error = "unknown key '" + std::string(key) + "' (the keys: Japan, mode, \"maximum pages\", \"startup "
                                                     "page\", \"buttons par page\", position, \"hot key\")";
        return std::nullopt;
    }
    SettingValue setting{*known, {}};
    if (setting.key == std::string_view(kKeyHotKey)) {
        const std::optional<HotKey> hotKey = ParseHotKey(value);
        if (!hotKey) {
            error = "hot key takes keys such as Ctrl+Alt+T, or none, not '" + std::string(value) + "'";
            return std::nullopt;
        }
        setting.stored = FormatHotKey(*hotKey);
        return setting;
    }
    if (setting.key == std::string_view(kKeyPosition)) {
        const std::size_t comma = value.find(',');
        const auto x = WholeInteger(value.substr(0, comma));
        const auto y = comma == std::string_view::npos ? std::nullopt : WholeInteger(value.substr(comma + 1));
        if (!x || !y) {
            error = "position takes x,y in pixels, not '" + std::string(value) + "'";
            return std::nullopt;
        }
        const BarPosition at = ParsePosition(std::string(value).c_str());
        setting.stored = FormatPosition(at.x, at.y);
        return setting;
    }
    const std::optional<long long> n = WholeInteger(value);
    if (!n) {
        error = std::string(setting.key) + " takes a number, not '" + std::string(value) + "'";
        return std::nullopt;
    }
    const std::string_view k = setting.key;
    const long long stored = k == kKeyJapan          ? LanguageOffsetFromJapan(*n)
                             : k == kKeyMode         ? static_cast<long long>(ModeFromRaw(*n))
                             : k == kKeyMaximumPages ? ClampMaximumPages(*n)
                             : k == kKeyStartupPage  ? ClampPage(*n, ClampMaximumPages(maximumPages))
                                                     : ClampButtonsPerPage(*n);
    setting.stored = std::to_string(stored);
    return setting;
}

std::string QuotedArgument(std::string_view argument, LeadBytePredicate isLead)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(argument);
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const char c = argument[i];
        if (isLead(static_cast<unsigned char>(c)) && i + 1 < argument.size()) {
            out.append(argument.substr(i, 2));
            ++i;
            backslashes = 0;
            continue;
        }
        if (c == '"')
            out.append(backslashes + 1, '\\');  // each backslash before it doubled, and the quote escaped
        backslashes = c == '\\' ? backslashes + 1 : 0;
        out.push_back(c);
    }
    out.append(backslashes, '\\');  // before the closing quote
    return out.append("\"");
}

std::optional<std::string> RegisteredCommand(std::string_view program, const std::vector<std::string> &arguments,
                                             LeadBytePredicate isLead, std::string &error)
{
    std::string command = QuotedPath(program);
    for (const std::string &argument : arguments) {
        if (argument.find_first_of(",\t") != std::string::npos) {
            error = "the argument '" + argument + "' holds a comma or tab, where a click would cut the command";
            return std::nullopt;
        }
        command.append(" ").append(QuotedArgument(argument, isLead));
    }
    return command;
}

std::optional<IconChoice> ParseIconChoice(std::string_view text, std::string &error)
{
    IconChoice choice{std::string(text), 0};
    const std::size_t comma = text.rfind(',');
    if (comma != std::string_view::npos) {
        const std::string_view tail = text.substr(comma + 1);
        if (const auto n = WholeInteger(tail); n && tail.find_first_of("xX") == std::string_view::npos) {
            if (*n < 0 || *n > 0xFFFF) {
                error = "the icon index " + std::string(tail) + " is out of range (0 to 65535)";
                return std::nullopt;
            }
            choice = {std::string(text.substr(0, comma)), static_cast<int>(*n)};
        }
    }
    if (choice.file.empty()) {
        error = "--icon names no file";
        return std::nullopt;
    }
    return choice;
}

std::string SlotLine(const SlotReport &report)
{
    const ProgramEntry e = ParseProgramEntry(report.entry, CommandExtent::Remainder);
    // A tab or line break inside a field shows as a blank: the columns stay where they are.
    const auto field = [](std::string text) {
        std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        return text;
    };
    return std::to_string(report.page) + '\t' + std::to_string(report.slot) + '\t' + field(e.iconFile) + '\t' +
           std::to_string(e.effectiveIconIndex) + '\t' + (e.runMinimized ? "minimized" : "normal") + '\t' +
           field(e.directory) + '\t' + field(e.command) + '\t' + field(report.title.value_or(""));
}

std::string SlotJson(const SlotReport &report, std::string_view indent)
{
    const ProgramEntry e = ParseProgramEntry(report.entry, CommandExtent::Remainder);
    std::string out = std::string(indent) + "{\n";
    AppendJsonMember(out, indent, "key", std::to_string(report.key));
    AppendJsonMember(out, indent, "page", std::to_string(report.page));
    AppendJsonMember(out, indent, "slot", std::to_string(report.slot));
    AppendJsonMember(out, indent, "entry", JsonQuoted(report.entry));
    AppendJsonMember(out, indent, "iconFile", JsonQuoted(e.iconFile));
    AppendJsonMember(out, indent, "iconIndex", std::to_string(e.effectiveIconIndex));
    AppendJsonMember(out, indent, "minimized", e.runMinimized ? "true" : "false");
    AppendJsonMember(out, indent, "directory", JsonQuoted(e.directory));
    AppendJsonMember(out, indent, "command", JsonQuoted(e.command), !report.title);
    if (report.title)
        AppendJsonMember(out, indent, "title", JsonQuoted(*report.title), true);
    return out.append(indent).append("}");
}

std::string ReadBackValue(std::string_view value, LeadBytePredicate isLead)
{
    // Read back by the reader's own rules, from a section of one key.
    const std::string text = "k=" + std::string(value) + std::string(2, '\0');
    return ProfileValue(ParseProfileSection(text, isLead), "k", text.size(), isLead);
}

std::string OneLine(std::string_view utf8)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        const std::string_view rest = utf8.substr(i);
        if (c == '\n' || c == '\r' || c == '\t') {
            out.append(c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t");
        } else if (c < 0x20 || c == 0x7F) {
            out.append("\\x").append(1, kHex[c >> 4]).append(1, kHex[c & 15]);
        } else if (rest.substr(0, 2) == "\xC2\x85") {
            out.append("\\u0085");
            i += 1;
        } else if (rest.substr(0, 3) == "\xE2\x80\xA8" || rest.substr(0, 3) == "\xE2\x80\xA9") {
            out.append(rest[2] == '\xA8' ? "\\u2028" : "\\u2029");
            i += 2;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

namespace {

// A value as the bar reads it: "" when the key is missing, as for an empty one.
std::string ValueAsRead(const ProfileSection &section, std::string_view key, LeadBytePredicate isLead)
{
    return ProfileValue(section, key, kValueBuffer, isLead);
}

std::string Quoted(const std::string &text) { return "\"" + text + "\""; }

} // namespace

std::vector<std::string> ProgramChanges(std::string_view before, std::string_view after, int perPage,
                                        LeadBytePredicate isLead)
{
    const ProfileSection was = ParseProfileSection(before, isLead), is = ParseProfileSection(after, isLead);
    std::vector<std::string> lines;
    for (int key = 0; key < kMaxPages * kMaxButtonsPerPage; ++key) {
        const std::string place = SlotPlace(key, perPage) + ": ";
        const std::string name = ProfileKey(key);
        const std::string old = ValueAsRead(was, name, isLead), now = ValueAsRead(is, name, isLead);
        if (old != now) {
            const std::string oldCommand = ParseProgramEntry(old, CommandExtent::Remainder).command;
            const std::string newCommand = ParseProgramEntry(now, CommandExtent::Remainder).command;
            lines.push_back(place + (old.empty()   ? "adds " + newCommand
                                     : now.empty() ? "drops " + oldCommand
                                     // The same command with another icon, directory or start: the entries tell.
                                     : oldCommand == newCommand ? old + " becomes " + now
                                                                : oldCommand + " becomes " + newCommand));
        }
        const std::string oldTitle = ValueAsRead(was, TitleKey(key), isLead);
        const std::string newTitle = ValueAsRead(is, TitleKey(key), isLead);
        if (oldTitle != newTitle)
            lines.push_back(place + "title " + Quoted(oldTitle) + " becomes " + Quoted(newTitle));
    }
    return lines;
}

std::vector<std::string> SettingChanges(std::string_view before, std::string_view after, LeadBytePredicate isLead)
{
    const ProfileSection was = ParseProfileSection(before, isLead), is = ParseProfileSection(after, isLead);
    std::vector<std::string> lines;
    for (const char *key : kEnvironmentKeys) {
        // A missing key and an empty value both give the bar its default.
        const auto shown = [&](const ProfileSection &section) {
            const std::string value = ValueAsRead(section, key, isLead);
            return value.empty() ? std::string("(not set)") : value;
        };
        if (const std::string old = shown(was), now = shown(is); old != now)
            lines.push_back(std::string(key) + ": " + old + " becomes " + now);
    }
    return lines;
}

const JsonValue *TextMember(const JsonValue &object, const char *name, const std::string &where, std::string &error)
{
    const JsonValue *value = JsonMember(object, name);
    if (value && value->kind != JsonValue::Kind::String) {
        error = where + ": \"" + name + "\" must be a string";
        return nullptr;
    }
    return value;
}

int ImportedSlotKey(const JsonValue &item, int perPage)
{
    const JsonValue *key = JsonMember(item, "key");
    const JsonValue *page = JsonMember(item, "page");
    const JsonValue *position = JsonMember(item, "slot");
    if (key) {
        const auto n = JsonInteger(*key);
        return n && *n >= 0 && *n <= kLastSlotKey ? static_cast<int>(*n) : -1;
    }
    if (page && position) {
        const auto p = JsonInteger(*page), s = JsonInteger(*position);
        if (p && s && *p >= 1 && *p <= kMaxPages && *s >= 1 && *s <= perPage)
            return static_cast<int>((*p - 1) * perPage + (*s - 1));
    }
    return -1;
}

std::optional<std::string> HandWrittenEntry(const JsonValue &item, const std::string &at, TextToStore store,
                                            std::string &error)
{
    // The slot named in front of what `store` found wrong.
    const auto stored = [&](const JsonValue &text, const char *what, std::string &field) {
        const std::optional<std::string> value = store(text.text, what, error);
        if (!value)
            error = at + ": " + error;
        field = value.value_or("");
        return value.has_value();
    };
    ProgramFields fields;
    const JsonValue *command = TextMember(item, "command", at, error);
    if (!command) {
        error = error.empty() ? at + ": needs an \"entry\" (or a \"command\")" : error;
        return std::nullopt;
    }
    if (!stored(*command, "the command", fields.program))
        return std::nullopt;
    const JsonValue *dir = TextMember(item, "directory", at, error);
    if (dir && !stored(*dir, "the directory", fields.directory))
        return std::nullopt;
    if (const JsonValue *iconFile = TextMember(item, "iconFile", at, error)) {
        if (!stored(*iconFile, "the icon file", fields.iconFile))
            return std::nullopt;
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
    if (!value)
        error = at + ": needs a command, an icon file and an icon index from 0 to 65535";
    return value;
}
