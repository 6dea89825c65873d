#include "ctl/bar_file.h"

#include "ctl/console.h"
#include "ini/code_page_path.h"
#include "ini/change_notice.h"
#include "ini/settings.h"

namespace tavctl {

namespace {

constexpr DWORD kReloadTimeoutMs = 10000;

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

} // namespace

void ReadBarFile(BarFile &file)
{
    // The section read once, as the bar's reload reads it.
    file.environment = ReadEnvironmentSection();
    BarSettings settings;
    LoadSettings(false, settings, &file.environment);
    file.perPage = settings.columns * settings.rows;
    file.pages = settings.maximumPages;
    file.hotKey = settings.hotKey;
    file.programs = ReadProgramSection();
    file.section = ParseProfileSection(file.programs, IsSystemLeadByte);
}

Outcome Refused(int code, std::string error) { return {code, std::move(error), false}; }

Outcome ReadUnderLock(BarFile &file)
{
    return UnderLock([&] {
        ReadBarFile(file);
        return Outcome{};
    });
}

std::optional<std::string> KeyValue(const BarFile &file, const std::string &key)
{
    if (!HasProfileKey(file.section, key, IsSystemLeadByte))
        return std::nullopt;
    return ProfileValue(file.section, key, file.programs.size() + 2, IsSystemLeadByte);
}

std::string EntryAt(const BarFile &file, int key) { return KeyValue(file, ProfileKey(key)).value_or(""); }

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

} // namespace tavctl
