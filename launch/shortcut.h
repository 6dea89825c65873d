// Shell shortcuts (.lnk): what they start and which icon stands for them.
// Read through the shell's link object in Unicode, so that a target outside
// the ANSI code page still starts and shows its icon.
#pragma once
#include <windows.h>

#include <string>

// A shortcut as the shell would follow it.
struct Shortcut {
    std::wstring target;  // empty for one without a file-system target (an installer's advertised shortcut)
    std::wstring arguments;
    std::wstring directory;  // empty: none named
    int showCommand = SW_SHOWNORMAL;
    std::wstring iconFile;  // empty: the link names no icon of its own
    int iconIndex = 0;
};

// Reads the shortcut `path`; false (GetLastError telling why) when it cannot.
bool ReadShortcut(const char *path, Shortcut &link);

// The file and index to extract an icon from for the icon file `iconFile`
// at `index`: a shortcut gives its own icon location with the link's index
// when it names one, else its target at `index`; other files are themselves.
struct IconSource {
    std::wstring file;
    int index = 0;
};
IconSource ResolveIconSource(const char *iconFile, int index);
