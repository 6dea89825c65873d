#include "ctl/console.h"

#include "ctl/ctl_rules.h"
#include "ini/code_page_path.h"

namespace tavctl {

std::wstring WideFromUtf8(const std::string &text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8From(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

std::string Utf8FromCodePage(const std::string &text)
{
    return Utf8From(WideFromCodePage(text));
}

// Written as UTF-16 to a console, whose code page may hold none of the text, and
// as UTF-8 to a pipe or a file.
void Write(DWORD which, const std::string &utf8)
{
    const HANDLE out = GetStdHandle(which);
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = WideFromUtf8(utf8);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
    } else {
        WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
    }
}

std::string Line(const std::string &utf8) { return OneLine(utf8) + "\n"; }

void Say(const std::string &utf8) { Write(STD_OUTPUT_HANDLE, Line(utf8)); }

int Fail(int code, const std::string &utf8)
{
    Write(STD_ERROR_HANDLE, "tavctl: " + Line(utf8));
    return code;
}

std::string CodePageName()
{
    return "code page " + std::to_string(GetACP());
}

} // namespace tavctl
