#include "launch/launch.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "ini/code_page_path.h"
#include "launch/command_rules.h"
#include "launch/shortcut.h"

namespace {

// What one start is given, in Unicode: the "A" calls widen the same way,
// and a shortcut's target may hold characters the ANSI code page lacks.
struct Start {
    std::wstring executable;
    std::wstring parameters;
    std::wstring directory;  // empty: the bar's own
    int show = SW_SHOWNORMAL;
    std::wstring title;  // empty: none
};

const wchar_t *NoneIfEmpty(const std::wstring &text)
{
    return text.empty() ? nullptr : text.c_str();
}

// The bar's handles stay its own: a started program inherits none of them.
bool CreateFor(const Start &s, const std::wstring &executable)
{
    std::wstring line = CommandLineOf(executable, s.parameters);
    // Starting with cut arguments would run something the user never asked for.
    if (line.size() > kMaxCommandLine) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.lpTitle = const_cast<wchar_t *>(NoneIfEmpty(s.title));
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(s.show);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS,
                        nullptr, NoneIfEmpty(s.directory), &si, &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return true;
}

// The shell starts `file` with `verb` (nullptr: its default, as a double
// click would): a document through its program, "runas" after the user's
// consent. No error box of its own: the bar reports the failure.
bool ShellStart(const wchar_t *verb, const std::wstring &file, const Start &s)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.lpParameters = NoneIfEmpty(s.parameters);
    info.lpDirectory = NoneIfEmpty(s.directory);
    info.nShow = s.show;
    if (!ShellExecuteExW(&info))
        return false;
    if (info.hProcess)
        CloseHandle(info.hProcess);
    return true;
}

bool IsWow64Bar()
{
#if defined(__i386__) || defined(_M_IX86)
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#else
    return false;
#endif
}

// `executable` in the 64-bit system directory; "" when it is not in the system directory.
std::wstring NativeSystemPath(const std::wstring &executable)
{
    char system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(system, MAX_PATH), w = GetWindowsDirectoryA(windows, MAX_PATH);
    const std::optional<std::string> file = CodePageExact(executable);
    // A path the ANSI code page cannot spell is not one of the system's.
    if (n == 0 || n >= MAX_PATH || w == 0 || w >= MAX_PATH || !file)
        return {};
    return WideFromCodePage(SysnativePath(*file, system, windows, IsSystemLeadByte).c_str());
}

// Creates the process; a failure that another way can mend is tried that
// way once. False with the last failure's error code readable.
bool StartProgram(const Start &s)
{
    std::wstring executable = s.executable;
    bool wow64 = IsWow64Bar();
    while (!CreateFor(s, executable)) {
        const DWORD error = GetLastError();
        switch (NextLaunchAttempt(error, wow64)) {
        case LaunchRetry::NativeSystemDirectory:
            wow64 = false;  // looked for there once
            executable = NativeSystemPath(s.executable);
            if (!executable.empty())
                continue;
            break;
        case LaunchRetry::Elevated:
            return ShellStart(L"runas", executable, s);
        case LaunchRetry::None:
            break;
        }
        SetLastError(error);
        return false;
    }
    return true;
}

// A program's extension decides, as for any file, whether the target runs
// itself or is opened by the shell (a shortcut to a document or a folder).
bool StartTarget(const Start &s)
{
    // Only the extension decides, and the program ones are spelt alike in every code page.
    const std::size_t dot = s.executable.find_last_of(L".\\/:");
    const std::wstring extension = dot != std::wstring::npos && s.executable[dot] == L'.' ? s.executable.substr(dot)
                                                                                          : std::wstring();
    if (HasProgramExtension(CodePageExact(extension).value_or("").c_str(), IsSystemLeadByte))
        return StartProgram(s);
    return ShellStart(nullptr, s.executable, s);
}

// A shortcut starts its target as the shell would: the link's arguments
// followed by the caller's, the caller's directory or else the link's, the
// link's show command unless the slot asks for minimized.
bool StartShortcut(const char *file, const char *arguments, const char *directory, WORD showMode, const char *title)
{
    Shortcut link;
    if (!ReadShortcut(file, link))
        return false;
    Start s;
    s.directory = WideFromCodePage(directory ? directory : "");
    s.title = WideFromCodePage(title ? title : "");
    s.parameters = WideFromCodePage(arguments ? arguments : "");
    // One without a file-system target is resolved by the shell itself (it may install the program first).
    if (link.target.empty()) {
        s.show = showMode;
        return ShellStart(nullptr, WideFromCodePage(file), s);
    }
    if (!link.arguments.empty() && !s.parameters.empty())
        link.arguments += L' ';
    s.parameters = link.arguments + s.parameters;
    if (s.directory.empty())
        s.directory = link.directory;
    s.show = showMode == SW_SHOWMINIMIZED ? showMode : link.showCommand;
    s.executable = link.target;
    return StartTarget(s);
}

// Asks the shell for what runs `file` and starts it.
bool StartFile(const char *file, const char *arguments, const char *directory, WORD showMode, const char *title)
{
    std::vector<char> found(kValueBuffer, '\0');
    // FindExecutableA writes at most MAX_PATH bytes, well inside the buffer.
    const auto shell = reinterpret_cast<UINT_PTR>(FindExecutableA(file, directory, found.data()));
    found.back() = '\0';
    const LaunchCommand command = BuildLaunchCommand(found.data(), file, arguments ? arguments : "", IsSystemLeadByte);
    if (!command.associated) {
        // A document that is not there says so; one that is, that nothing opens it.
        SetLastError(shell == SE_ERR_FNF || shell == SE_ERR_PNF ? static_cast<DWORD>(shell) : kErrorNoAssociation);
        return false;
    }
    return StartProgram({WideFromCodePage(command.executable), WideFromCodePage(command.parameters),
                         WideFromCodePage(directory ? directory : ""), showMode, WideFromCodePage(title ? title : "")});
}

} // namespace

UINT_PTR LaunchProgram(const char *file, const char *arguments, const char *directory, WORD showMode,
                       const char *title)
{
    const bool started = IsShortcutFile(file, IsSystemLeadByte)
                             ? StartShortcut(file, arguments, directory, showMode, title)
                             : StartFile(file, arguments, directory, showMode, title);
    // The process handle is closed at once: the bar keeps no link to what it started.
    return started ? 32 : 0;
}
