#include "texts/strings.h"

#include <windows.h>

#include "winkit/module.h"

std::wstring LoadTavText(Language language, unsigned base)
{
    // Length 0 asks for a pointer to the resource's own text, which is not terminated.
    const wchar_t *text = nullptr;
    const int length = LoadStringW(ResourceModule(), StringId(base, language.offset),
                                   reinterpret_cast<wchar_t *>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

unsigned TavDialogId(Language language, DialogKind kind)
{
    return DialogId(kind, language.offset);
}
