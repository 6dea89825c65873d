#include "launch/launch.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "launch/command.h"

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

namespace {

// Asks the shell for what runs `file`, builds the command line and creates the process.
bool StartFile(const char *file, const char *arguments, const char *directory, STARTUPINFOA &si,
               PROCESS_INFORMATION &pi)
{
    std::vector<char> found(kLaunchBuffer, '\0');
    // Nothing found leaves the buffer empty; the command line then has no executable in front.
    // FindExecutableA writes at most MAX_PATH bytes, well inside the buffer.
    FindExecutableA(file, directory, found.data());
    found.back() = '\0';

    const std::string line = BuildLaunchCommandLine(found.data(), file, arguments ? arguments : "", IsSystemLeadByte);
    // Starting with cut arguments would run something the user never asked for.
    if (line.size() > kMaxCommandLine) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, directory, &si, &pi) != FALSE;
}

// For a 32-bit bar on 64-bit Windows: `file` in the 64-bit system directory, "" elsewhere.
std::string NativeSystemPath(const char *file)
{
#if defined(__i386__) || defined(_M_IX86)
    BOOL wow64 = FALSE;
    char system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    const UINT s = GetSystemDirectoryA(system, MAX_PATH), w = GetWindowsDirectoryA(windows, MAX_PATH);
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64 && s && s < MAX_PATH && w && w < MAX_PATH)
        return SysnativePath(file, system, windows, IsSystemLeadByte);
#endif
    (void)file;
    return {};
}

} // namespace

UINT_PTR LaunchProgram(const char *file, const char *arguments, const char *directory, WORD showMode,
                       const char *title)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.lpTitle = const_cast<char *>(title);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showMode;
    PROCESS_INFORMATION pi{};

    if (!StartFile(file, arguments, directory, si, pi)) {
        // Only a program missing from the system directory this process sees is looked for in
        // the 64-bit one; what is stored stays as the user gave it.
        const DWORD error = GetLastError();
        const std::string native = error == ERROR_FILE_NOT_FOUND ? NativeSystemPath(file) : std::string();
        if (native.empty() || !StartFile(native.c_str(), arguments, directory, si, pi))
            return 0;
    }

    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(pi.hProcess);
    return value < 32 ? 32 : value;
}
