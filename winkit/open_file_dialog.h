// The system's file chooser, reached through a library loaded when a
// chooser is first asked for rather than at start: importing it would load
// it and its printing libraries into every start of the bar, which under
// Wine costs more than the rest of the start together. The library stays
// loaded once in (the system frees it at exit), so nothing is kept here.
// The wide form: a chosen name comes as the file system has it, and
// code_page_path.h decides how it can be written down.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

#include "winkit/system_library.h"

// Every chooser leaves the bar's current directory where it was: a started
// program without a directory of its own inherits it.
constexpr DWORD kChooserFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
// A chosen shortcut is taken as the shortcut, with its arguments and folder.
constexpr DWORD kProgramChooserFlags = kChooserFlags | OFN_NODEREFERENCELINKS;
// The file buffer holds the longest path the system can name.
constexpr std::size_t kChosenPathBuffer = 32768;

// GetOpenFileNameW; FALSE, as for a cancelled chooser, when the library or
// its entry cannot be found.
inline BOOL OpenFileDialog(OPENFILENAMEW &ofn)
{
    using Chooser = BOOL(WINAPI *)(OPENFILENAMEW *);
    const HMODULE library = LoadSystemLibrary("comdlg32.dll");
    const auto chooser =
        library ? reinterpret_cast<Chooser>(reinterpret_cast<void *>(GetProcAddress(library, "GetOpenFileNameW")))
                : nullptr;
    return chooser ? chooser(&ofn) : FALSE;
}

// The chooser owned by `owner`, starting from `initial`, with `filters` (pairs, each text ended by a
// zero, the list by one more): the chosen path, or nothing when it was cancelled.
inline std::optional<std::wstring> ChooseFile(HWND owner, const std::wstring &title, const wchar_t *filters,
                                              const std::wstring &initial, DWORD flags)
{
    std::vector<wchar_t> file(kChosenPathBuffer, L'\0');
    initial.copy(file.data(), file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = flags;
    if (!OpenFileDialog(ofn))
        return std::nullopt;
    return std::wstring(file.data());
}

// The program chooser of both dialogs: programs, batch files and shortcuts first, a chosen
// shortcut kept as the shortcut; starting from `initial`, or from the program pattern.
constexpr wchar_t kProgramPattern[] = L"*.exe;*.com;*.pif;*.cmd;*.bat;*.lnk";
constexpr wchar_t kProgramFilters[] = L"Executable\0*.exe;*.com;*.pif;*.cmd;*.bat;*.lnk\0All files\0*.*\0";
inline std::optional<std::wstring> ChooseProgram(HWND owner, const std::wstring &title,
                                                 const std::wstring &initial = std::wstring())
{
    return ChooseFile(owner, title, kProgramFilters, initial.empty() ? kProgramPattern : initial,
                      kProgramChooserFlags);
}
