#include "launch/launch.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "launch/command.h"

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

UINT_PTR LaunchProgram(const char *file, const char *arguments, const char *directory, WORD showMode,
                       const char *title)
{
    std::vector<char> found(kLaunchBuffer, '\0');

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.lpTitle = const_cast<char *>(title);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showMode;
    PROCESS_INFORMATION pi{};

    // Nothing found leaves the buffer empty; the command line then has no executable in front.
    // FindExecutableA writes at most MAX_PATH bytes, well inside the buffer.
    FindExecutableA(file, directory, found.data());
    found.back() = '\0';

    const std::string line = BuildLaunchCommandLine(found.data(), file, arguments ? arguments : "", IsSystemLeadByte);
    // Starting with cut arguments would run something the user never asked for.
    if (line.size() > kMaxCommandLine)
        return 0;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');

    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, directory, &si, &pi))
        return 0;

    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(pi.hProcess);
    return value < 32 ? 32 : value;
}
