// tavctl: the bar's configuration from a command line or a script. Every
// change goes through the same profile functions, the same TAV.INI (or its
// per-user copy) and the same writer's lock as the bar's own, and is then
// announced as the bar announces its own; a running bar is told to reload.
// Here the command line is read and handed to its verb (commands_*.cpp).
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "ctl/commands.h"
#include "ctl/console.h"
#include "ini/profile_file.h"
#include "res/version.h"

namespace {

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
        args.push_back(tavctl::Utf8From(argv[i]));
    LocalFree(argv);

    std::string error;
    const std::optional<CtlRequest> request = ParseCtlArguments(args, error);
    if (!request)
        return tavctl::Fail(ExitBadInput, error);
    const std::string &verb = request->verb;
    if (verb == "help")
        return tavctl::Write(STD_OUTPUT_HANDLE, kHelp), ExitDone;
    if (verb == "usage")
        return tavctl::Write(STD_ERROR_HANDLE, kHelp), ExitBadInput;
    if (verb == "version")
        return tavctl::Write(STD_OUTPUT_HANDLE, "tavctl " TAV_VERSION_TEXT "\n"), ExitDone;
    if (verb == "autostart")
        return tavctl::Autostart(*request);
    // A file another program holds would read as empty and be written over.
    if (!ProfileReadable())
        return tavctl::Fail(ExitNotStored, "TAV.INI is held by another program; nothing was read or written");
    static const struct {
        const char *verb;
        int (*run)(const CtlRequest &);
    } kRunners[] = {{"list", tavctl::List},   {"add", tavctl::Add},       {"remove", tavctl::Remove},
                    {"move", tavctl::Move},   {"title", tavctl::Title},   {"set", tavctl::Set},
                    {"export", tavctl::Export}, {"import", tavctl::Import}};
    for (const auto &runner : kRunners)
        if (verb == runner.verb)
            return runner.run(*request);
    return tavctl::Fail(ExitBadInput, "unknown command '" + verb + "'");
}
