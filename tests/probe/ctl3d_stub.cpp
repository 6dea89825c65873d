// A stand-in CTL3D32.DLL: wherever it is loaded from, it writes its load,
// each call with the instance it was given, and its unload to
// "ctl3d_calls.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HINSTANCE self;

void Note(const char *what, HINSTANCE instance)
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = n ? std::strrchr(path, '\\') : nullptr;
    if (!slash || slash - path + 20 >= MAX_PATH)
        return;
    std::strcpy(slash + 1, "ctl3d_calls.txt");
    if (FILE *f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s %llx\n", what, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(instance)));
        std::fclose(f);
    }
}

} // namespace

extern "C" {
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    self = module;
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH)
        Note(reason == DLL_PROCESS_ATTACH ? "load" : "unload", nullptr);
    return TRUE;
}
__declspec(dllexport) BOOL WINAPI Ctl3dRegister(HINSTANCE instance) { return Note("Ctl3dRegister", instance), TRUE; }
__declspec(dllexport) BOOL WINAPI Ctl3dAutoSubclass(HINSTANCE instance) { return Note("Ctl3dAutoSubclass", instance), TRUE; }
__declspec(dllexport) BOOL WINAPI Ctl3dUnregister(HINSTANCE instance) { return Note("Ctl3dUnregister", instance), TRUE; }
}
