#include "launch/activation_rules.h"

#include "ini/code_page_rules.h"
#include "ini/entry_rules.h"

namespace {

// Spaces, tabs and every other control byte in front of the arguments.
std::string_view SkipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) >= 1 && static_cast<unsigned char>(text[i]) <= 32)
        ++i;
    return text.substr(i);
}

struct Split {
    std::string program;
    std::string rest;
};

Split SplitProgram(const std::string &command)
{
    // The destination is sized to the command, so the token is never cut.
    std::string token(command.size() + 1, '\0');
    const char *rest = SplitCommandToken(token.data(), token.size(), command.c_str());
    return {token.c_str(), rest};
}

// Whether `item` begins with `text`, letters compared without case. Both
// bytes of a double-byte character must match exactly: a second byte may
// look like a letter.
bool BeginsWithIgnoringCase(std::string_view item, std::string_view text, LeadBytePredicate isLead)
{
    return item.size() >= text.size() && SameTextIgnoringCase(item.substr(0, text.size()), text, isLead);
}

} // namespace

std::string ProgramFolder(std::string_view program, LeadBytePredicate isLead)
{
    std::size_t cut = std::string_view::npos;
    for (std::size_t i = 0; i < program.size(); ++i) {
        if (isLead(static_cast<unsigned char>(program[i])) && i + 1 < program.size())
            ++i;
        else if (program[i] == '\\')
            cut = i;
    }
    return cut == std::string_view::npos ? std::string() : std::string(program.substr(0, cut));
}

StartPlan PlanSlotStart(std::string_view value, LeadBytePredicate isLead)
{
    const ProgramEntry entry = ParseProgramEntry(value, CommandExtent::Token);
    const Split split = SplitProgram(entry.command);
    StartPlan plan;
    plan.program = split.program;
    plan.arguments = SkipBlanks(split.rest);
    // Sized to the text, not cut: a cut folder could name another, existing one. A shortcut
    // brings its own working directory, which only a directory the entry names overrides.
    plan.directory = !entry.directory.empty()            ? entry.directory
                     : IsShortcutFile(plan.program, isLead) ? std::string()
                                                          : ProgramFolder(plan.program, isLead);
    plan.runMinimized = entry.runMinimized;
    return plan;
}

StartPlan PlanDropStart(std::string_view value)
{
    const ProgramEntry entry = ParseProgramEntry(value, CommandExtent::Token);
    StartPlan plan;
    plan.program = EntryProgram(value);
    plan.directory = entry.directory;
    return plan;
}

std::string DroppedFileEntry(std::string_view path)
{
    // Written whole: a long path cut to a fixed length would leave the command
    // without its closing quote, a broken entry.
    return std::string(path).append(",0,,").append(QuotedPath(path));
}

StartPlan PlanTypedCommand(std::string_view text, LeadBytePredicate isLead)
{
    constexpr std::string_view kDelimiters = ",\t";
    StartPlan plan;
    const std::size_t start = text.find_first_not_of(kDelimiters);
    if (start == std::string_view::npos)
        return plan;
    const std::size_t end = text.find_first_of(kDelimiters, start);
    plan.program = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end != std::string_view::npos)
        plan.arguments = SkipBlanks(text.substr(end + 1));
    // A program in double quotes is written as on a command line: the quotes group a path with
    // spaces, and what follows them are arguments, in front of those after the comma.
    if (plan.program.front() == '"') {
        Split split = SplitProgram(plan.program);
        const std::string_view inside = SkipBlanks(split.rest);
        plan.program = std::move(split.program);
        if (!inside.empty())
            plan.arguments = plan.arguments.empty() ? std::string(inside) : std::string(inside) + " " + plan.arguments;
    }
    if (!IsShortcutFile(plan.program, isLead))
        plan.directory = ProgramFolder(plan.program, isLead);
    return plan;
}

void RememberRunCommand(RunHistory &history, std::string_view text, LeadBytePredicate isLead)
{
    for (const std::string &item : history.entries)
        if (BeginsWithIgnoringCase(item, text, isLead))
            return;
    for (std::size_t i = history.entries.size() - 1; i > 0; --i)
        history.entries[i] = std::move(history.entries[i - 1]);
    // As the field holds it, and never half a double-byte character.
    history.entries[0] = FitText(text, kDialogTextBuffer, isLead);
}
