// TAV.EXE's entry point. The bar takes no command-line options and ignores
// the show command it is started with: everything comes from TAV.INI.
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "winkit/dpi.h"

namespace {

// The bar works in its own folder, whatever folder started it: a slot that
// names a bare program must not run a file of that name planted wherever the
// bar happened to be started.
void WorkInOwnFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(n);
    const std::size_t slash = path.find_last_of(L'\\');
    if (n == 0 || slash == std::wstring::npos)
        return;
    path.resize(slash + 1);  // a root folder keeps its backslash
    SetCurrentDirectoryW(path.c_str());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WorkInOwnFolder();
    DeclareDpiAwareness();
    return RunBar(instance);
}
