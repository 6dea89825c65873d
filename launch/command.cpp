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

bool SameExtension(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string BuildLaunchCommandLine(const char *foundExecutable, const char *file, const char *arguments,
                                   LeadBytePredicate isLead)
{
    const bool isProgram = SameExtension(PathExtension(file, isLead), PathExtension(foundExecutable, isLead));
    std::string line = foundExecutable;
    line += ' ';
    line += isProgram ? arguments : file;
    if (line.size() > kLaunchBuffer - 1)
        line.resize(kLaunchBuffer - 1);
    return line;
}
