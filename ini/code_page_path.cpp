#include "ini/code_page_path.h"

#include "ini/entry_rules.h"

namespace {

// The short path of an existing file or folder; "" when there is none.
std::wstring ShortPath(const std::wstring &wide)
{
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring path(size, L'\0');
    const DWORD n = GetShortPathNameW(wide.c_str(), path.data(), size);
    return n > 0 && n < size ? path.substr(0, n) : std::wstring();
}

} // namespace

CodePagePath SpellPath(const std::wstring &wide, PathUse use, std::size_t longest)
{
    const auto suits = [&](const std::optional<std::string> &path) {
        return path && path->size() <= longest &&
               (use == PathUse::Argument || path->find_first_of(kEntryDelimiters) == std::string::npos);
    };
    const std::optional<std::string> asItStands = CodePageExact(wide);
    if (suits(asItStands))
        return {*asItStands};
    if (const std::wstring shortPath = ShortPath(wide); !shortPath.empty())
        if (const std::optional<std::string> spelled = CodePageExact(shortPath); suits(spelled))
            return {*spelled};
    if (!asItStands)
        return {{}, PathRefusal::NotInCodePage};
    const bool delimited = asItStands->find_first_of(kEntryDelimiters) != std::string::npos;
    return {{}, use == PathUse::EntryField && delimited ? PathRefusal::HasDelimiter : PathRefusal::TooLong};
}

std::optional<std::string> CodePageExact(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    // UTF-8 spells every character and takes no default-character flag; it refuses a lone surrogate.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL substituted = FALSE;
    BOOL *const flag = utf8 ? nullptr : &substituted;
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, flag);
    if (n <= 0 || substituted)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, text.data(), n, nullptr, flag);
    // Read back as a check: a code page that maps a character one way only would otherwise pass.
    if (substituted || WideFromCodePage(text) != wide)
        return std::nullopt;
    return text;
}

std::wstring WideFromCodePage(const std::string &text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return wide;
}

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}
