#include "launch/slot_activation.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ini/code_page_path.h"
#include "ini/entry_rules.h"
#include "ini/profile_file.h"
#include "texts/message_box.h"
#include "texts/strings.h"
#include "launch/launch.h"


namespace {

const char *NoneIfEmpty(const std::string &text)
{
    return text.empty() ? nullptr : text.c_str();
}

// The system's own words for `error`, in its language, on one line; the
// number when it has none.
std::wstring SystemReason(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring reason = n && text ? std::wstring(text, n) : WideFromCodePage("error " + std::to_string(error));
    LocalFree(text);
    while (!reason.empty() && reason.back() <= L' ')
        reason.pop_back();
    return reason;
}

// "Execute error", and below it what could not be started and why.
void ShowExecuteError(HWND bar, Language language, const std::string &program, DWORD error)
{
    TellUser(bar, language, IDS_EXECUTE_ERROR, BoxKind::Described, L"\n" + WideFromCodePage(program) + L": " + SystemReason(error));
}

// The name of dropped file `index` as the shell has it, whole.
std::wstring DroppedName(HDROP drop, UINT index)
{
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, index, name.data(), length + 1));
    return name;
}

// Every dropped name as it can be passed on, before anything starts: nothing when one
// cannot (the user is told which).
std::optional<std::vector<std::string>> DroppedArguments(HWND bar, Language language, HDROP drop, UINT count)
{
    std::vector<std::string> arguments;
    arguments.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const std::optional<std::string> path = UsablePathOrTell(bar, language, DroppedName(drop, i), PathUse::Argument);
        if (!path)
            return std::nullopt;
        arguments.push_back(QuotedPath(*path));
    }
    return arguments;
}

// More files than this are started only once the user agrees.
constexpr std::size_t kDropStartsWithoutAsking = 16;

// String `base` with `n` in place of its "%u".
std::wstring TextWithNumber(Language language, unsigned base, std::size_t n)
{
    std::wstring text = LoadTavText(language, base);
    if (const std::size_t at = text.find(L"%u"); at != std::wstring::npos) {
        // Digits are ASCII; std::to_wstring would link MinGW's whole wide printf into TAV.EXE.
        const std::string digits = std::to_string(n);
        text.replace(at, 2, std::wstring(digits.begin(), digits.end()));
    }
    return text;
}

bool AgreesToStartMany(HWND bar, Language language, std::size_t count)
{
    return ShowBox(bar, TextWithNumber(language, IDS_MANY_DROPPED_FILES, count), BoxKind::Question) == IDYES;
}

// Lets the bar answer what came meanwhile. False once it is closing: the quit message is
// put back for the main loop, and nothing more is started.
bool AnswerWaitingMessages(const bool &closing)
{
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return !closing;
}

// One start per file; a failure is not reported and the next file is tried. A long batch
// lets the bar answer between starts; it holds copies of all it needs, since the slot, its
// button and the bar itself may change meanwhile.
void StartWithDroppedFiles(HWND bar, Language language, const std::string &value, const std::vector<std::string> &arguments,
                           const bool &closing)
{
    const bool many = arguments.size() > kDropStartsWithoutAsking;
    if (many && !AgreesToStartMany(bar, language, arguments.size()))
        return;
    const StartPlan plan = PlanDropStart(value);
    for (const std::string &argument : arguments) {
        if (many && !AnswerWaitingMessages(closing))
            return;
        LaunchProgram(plan.program.c_str(), argument.c_str(), NoneIfEmpty(plan.directory), SW_SHOWNORMAL, nullptr);
    }
}

std::optional<std::string> RegisterDroppedFile(HWND bar, Language language, int slot, HDROP drop)
{
    const std::wstring name = DroppedName(drop, 0);
    // A drop without a readable file would register an entry with no program.
    if (name.empty())
        return std::nullopt;
    // Only what a click starts is registered. A start resolves a short name to the file's long one,
    // so that too must be within what a start takes, not only the name stored.
    const DWORD longForm = GetLongPathNameW(name.c_str(), nullptr, 0);
    const CodePagePath spelt = SpellPath(name, PathUse::EntryField, kLongestStartPath);
    const std::string entry = DroppedFileEntry(spelt.path);
    if (std::max<std::size_t>(longForm ? longForm - 1 : 0, name.size()) > kLongestStartPath ||
        spelt.refusal == PathRefusal::TooLong ||
        (spelt.refusal == PathRefusal::None && CheckEntryLength(entry, spelt.path) != EntryLength::Fits)) {
        // The file by its name alone: a path this long would stretch the box past the screen.
        MessageBeep(MB_ICONWARNING);
        const std::wstring text =
            TextWithNumber(language, IDS_PATH_TOO_LONG, kLongestStartPath) + L"\n\n" + name.substr(name.find_last_of(L'\\') + 1);
        ShowBox(bar, text, BoxKind::Warning);
        return std::nullopt;
    }
    if (spelt.refusal != PathRefusal::None) {
        UsablePathOrTell(bar, language, name, PathUse::EntryField, kLongestStartPath);  // the name's own fault, told
        return std::nullopt;
    }
    if (!WriteProgramKey(ProfileKey(slot).c_str(), entry.c_str())) {
        TellNotStored(bar, language);
        return std::nullopt;
    }
    return spelt.path;
}

} // namespace

SlotStart StartSlotProgram(HWND bar, LauncherState &launcher, int slot, Language language)
{
    // No lock: every change replaces the file whole, so the read sees one file or the other,
    // and a writer that stalls cannot stall a click.
    const std::optional<std::string> read = ReadProgramValue(ProfileKey(slot));
    if (!read) {
        MessageBeep(MB_ICONHAND);  // longer than any real entry: nothing is started from a cut one
        return SlotStart::NotStarted;
    }
    const std::string &value = *read;
    if (value.empty())
        return SlotStart::Empty;
    if (LaunchGuardRefuses(GetTickCount(), launcher.lastLaunchTick)) {
        MessageBeep(MB_ICONHAND);
        return SlotStart::NotStarted;
    }
    // Counted before the start: a start that then fails still holds the next click off.
    launcher.lastLaunchTick = GetTickCount();

    const StartPlan plan = PlanSlotStart(value, IsSystemLeadByte);
    const std::string title = ReadProgramValue(TitleKey(slot)).value_or(std::string());
    const WORD show = plan.runMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (LaunchProgram(plan.program.c_str(), plan.arguments.c_str(), NoneIfEmpty(plan.directory), show,
                      NoneIfEmpty(title)) >= 32)
        return SlotStart::Started;
    ShowExecuteError(bar, language, plan.program, GetLastError());
    return SlotStart::NotStarted;
}

std::optional<std::string> OnFilesDropped(HWND button, int slot, HDROP drop, const bool &closing, Language language)
{
    // What the user is told comes in boxes of the bar, disabled meanwhile.
    const HWND bar = GetParent(button);
    std::optional<std::string> registered;
    const std::optional<std::string> value = ReadProgramValue(ProfileKey(slot));  // as for a click
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (!value || (value->empty() && !ProfileReadable())) {
        MessageBeep(MB_ICONHAND);  // the slot may hold a program all the same
    } else if (!value->empty()) {
        // The names are taken first: the drop is released before any start.
        const auto arguments = DroppedArguments(bar, language, drop, count);
        DragFinish(drop);
        if (arguments)
            StartWithDroppedFiles(bar, language, *value, *arguments, closing);
        return std::nullopt;
    } else if (count < 2) {
        registered = RegisterDroppedFile(bar, language, slot, drop);
    } else {
        TellUser(bar, language, IDS_MULTI_DROP, BoxKind::Described);
    }
    DragFinish(drop);
    return registered;
}
