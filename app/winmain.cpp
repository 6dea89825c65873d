// TAV.EXE's entry point. The bar takes no command-line options and ignores
// the show command it is started with: everything comes from TAV.INI.
#include <windows.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunBar(instance);
}
