#include "launch/command.h"

#include <cctype>

const char *SplitCommandToken(char *dest, std::size_t destSize, const char *source)
{
    const char *p = source;
    std::size_t n = 0;
    bool inside = false;
    for (;; ++p) {
        const char c = *p;
        if (c == '\0')
            return p;
        if (c == '"') {
            inside = !inside;
            continue;
        }
        if (c == '\t' || c == '*' || c == '?' || (c == ' ' && !inside))
            return p + 1;
        // Copy while there is room for the byte and its terminator; beyond that the
        // token is cut but the walk goes on, so the rest still starts where it should.
        if (dest && n + 1 < destSize) {
            dest[n++] = c;
            dest[n] = '\0';
        }
    }
}

bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool NoLeadByte(unsigned char) { return false; }

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

static char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b, LeadBytePredicate isLead)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

static std::string QuotedIfSpaced(const std::string &path)
{
    return path.find_first_of(" \t") == std::string::npos ? path : '"' + path + '"';
}

std::string BuildLaunchCommandLine(const char *foundPath, const char *file, const char *arguments,
                                   LeadBytePredicate isLead)
{
    std::string executable;
    for (const char *p = foundPath; *p; ++p)
        if (*p != '"')
            executable += *p;
    const bool isProgram =
        SameExtension(PathExtension(file, isLead), PathExtension(executable.c_str(), isLead), isLead);
    std::string line = QuotedIfSpaced(executable);
    line += ' ';
    line += isProgram ? std::string(arguments) : QuotedIfSpaced(file);
    return line;
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
