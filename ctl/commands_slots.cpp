#include "ctl/commands.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ctl/bar_file.h"
#include "ctl/console.h"
#include "ctl/storable.h"
#include "ini/code_page_path.h"

namespace tavctl {

int List(const CtlRequest &request)
{
    BarFile file;
    const Outcome read = ReadUnderLock(file);
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

namespace {

// The entry `add` registers, from the files, arguments and options it names, with its command and
// the title to store.
std::optional<std::string> AddedEntry(const CtlRequest &request, std::string &command,
                                      std::optional<std::string> &title, std::string &error)
{
    const std::optional<std::string> program = NamedFile(request.operands[0], false, error);
    if (!program)
        return std::nullopt;
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < request.operands.size(); ++i) {
        const auto argument = StorableText(request.operands[i], "the argument", error);
        if (!argument)
            return std::nullopt;
        arguments.push_back(*argument);
    }
    const auto registered = RegisteredCommand(*program, arguments, IsSystemLeadByte, error);
    if (!registered)
        return std::nullopt;
    command = *registered;
    std::string directory;
    if (request.directory) {
        const auto folder = NamedFile(*request.directory, true, error);
        if (!folder)
            return std::nullopt;
        directory = *folder;
    }
    IconChoice icon{*program, 0};
    if (request.icon) {
        const auto choice = ParseIconChoice(*request.icon, error);
        const auto file = choice ? NamedFile(choice->file, false, error) : std::nullopt;
        if (!file)
            return std::nullopt;
        icon = {*file, choice->index};
    }
    if (request.title && !(title = StorableTitle(*request.title, error)))
        return std::nullopt;
    const std::string entry =
        FormatProgramEntry(icon.file, StoredIconIndex(icon.index, request.minimized), directory, command);
    if (!StorableEntry(entry, *program, error))
        return std::nullopt;
    return entry;
}

// The slot `add` registers in: the one named, or the first empty one of the page or the bar. -1,
// with `error`, when there is none.
int SlotToAdd(const BarFile &file, const CtlRequest &request, std::string &error)
{
    if (request.slot) {
        const auto at = SlotKeyOf(request.page.value_or(1), *request.slot, file.perPage, file.pages, error);
        const std::string held = at ? EntryAt(file, *at) : "";
        if (!held.empty() && !request.replace)
            error = Where(request.page.value_or(1), *request.slot) + " holds " +
                    Utf8FromCodePage(ParseProgramEntry(held, CommandExtent::Remainder).command) +
                    " (--replace registers over it)";
        return at && (held.empty() || request.replace) ? *at : -1;
    }
    if (request.page && !SlotKeyOf(*request.page, 1, file.perPage, file.pages, error))
        return -1;
    const int first = request.page ? (*request.page - 1) * file.perPage : 0;
    const int last = request.page ? first + file.perPage : file.pages * file.perPage;
    for (int k = first; k < last; ++k)
        if (EntryAt(file, k).empty())
            return k;
    error = request.page ? "page " + std::to_string(*request.page) + " has no empty slot"
                         : "the bar has no empty slot (--page and --slot choose one)";
    return -1;
}

} // namespace

int Add(const CtlRequest &request)
{
    std::string error, command;
    std::optional<std::string> title;
    const std::optional<std::string> entry = AddedEntry(request, command, title, error);
    if (!entry)
        return Fail(ExitBadInput, error);

    SlotReport added;
    // The slot is chosen and written in one hold of the lock, so two adds at once never pick the
    // same empty slot.
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        const int key = SlotToAdd(file, request, error);
        if (key < 0)
            return Refused(ExitBadInput, error);
        // A title of an earlier program must not stay with this one.
        if (!WriteSlotKeys(key, *entry, title))
            return Refused(ExitNotStored, NotStored());
        added = {key, key / file.perPage + 1, key % file.perPage + 1, *entry, title};
        return {ExitDone, "", true};
    });
    if (outcome.code != ExitDone)
        return Finish(outcome, "");
    return Finish(outcome, request.json ? SlotJson(InUtf8(added), "") + "\n"
                                        : Line(Where(added.page, added.slot) + ": " + Utf8FromCodePage(command)));
}

namespace {

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

} // namespace

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

} // namespace tavctl
