#include "launch/command_rules.h"

#include <cctype>

std::string PathExtension(const char *path, LeadBytePredicate isLead)
{
    const char *p = path;
    if (std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':')
        p += 2;
    const char *dot = nullptr;
    while (*p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (isLead(c) && p[1]) {
            p += 2;
            continue;
        }
        if (c == '\\' || c == '/') {
            dot = nullptr;
        } else if (c == '.') {
            dot = p;
        }
        ++p;
    }
    return dot ? std::string(dot) : std::string();
}

LaunchCommand BuildLaunchCommand(const char *foundPath, const char *file, const char *arguments,
                                 LeadBytePredicate isLead)
{
    LaunchCommand command;
    for (const char *p = foundPath; *p; ++p)
        if (*p != '"')
            command.executable += *p;
    if (command.executable.empty()) {
        if (!HasProgramExtension(file, isLead))
            return LaunchCommand{false, {}, {}};
        command.executable = file;
    }
    const bool isProgram = SameExtension(PathExtension(file, isLead), PathExtension(command.executable.c_str(), isLead),
                                         isLead);
    command.parameters = isProgram ? std::string(arguments) : QuotedIfSpaced(std::string(file));
    return command;
}

bool HasProgramExtension(const char *path, LeadBytePredicate isLead)
{
    const std::string extension = PathExtension(path, isLead);
    for (const char *known : {".exe", ".com", ".bat", ".cmd", ".pif"})
        if (SameExtension(extension, known, isLead))
            return true;
    return false;
}

bool IsShortcutFile(std::string_view path, LeadBytePredicate isLead)
{
    return SameExtension(PathExtension(std::string(path).c_str(), isLead), ".lnk", isLead);
}

int ShortcutShowCommand(std::string_view header)
{
    constexpr std::size_t kHeaderSize = 76, kShowAt = 60;
    constexpr int kNormal = 1, kMaximized = 3, kMinimizedNoActivate = 7;
    if (header.size() < kHeaderSize || static_cast<unsigned char>(header[0]) != kHeaderSize)
        return kNormal;
    int show = 0;
    for (std::size_t i = 4; i-- > 0;)
        show = show << 8 | static_cast<unsigned char>(header[kShowAt + i]);
    return show == kMaximized || show == kMinimizedNoActivate ? show : kNormal;
}

LaunchRetry NextLaunchAttempt(unsigned long error, bool wow64)
{
    if (error == kErrorFileNotFound && wow64)
        return LaunchRetry::NativeSystemDirectory;
    if (error == kErrorElevationRequired)
        return LaunchRetry::Elevated;
    return LaunchRetry::None;
}

std::string SysnativePath(std::string_view file, std::string_view systemDir, std::string_view windowsDir,
                          LeadBytePredicate isLead)
{
    while (!systemDir.empty() && (systemDir.back() == '\\' || systemDir.back() == '/'))
        systemDir.remove_suffix(1);
    const std::size_t n = systemDir.size();
    if (n == 0 || file.size() <= n + 1 || (file[n] != '\\' && file[n] != '/') ||
        !SameTextIgnoringCase(file.substr(0, n), systemDir, isLead))
        return {};
    std::string path(windowsDir);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path.append("\\Sysnative").append(file.substr(n));
}
