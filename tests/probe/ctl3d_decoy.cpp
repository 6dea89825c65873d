// A stand-in CTL3D32.DLL for the test that plants one beside TAV.EXE: it
// leaves a marker beside itself in whichever process loads it.
#include <windows.h>
#include <cstring>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = n ? strrchr(path, '\\') : nullptr;
    if (slash && slash - path + 20 < MAX_PATH) {
        lstrcpyA(slash + 1, "ctl3d_loaded.txt");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}
