// A stand-in CTL3D32.DLL: wherever it is loaded from, it writes its load, each call with the instance it was
// given, and its unload to "ctl3d_calls.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

static HINSTANCE self;

static BOOL Note(const char *what, HINSTANCE instance)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    const std::string log = std::string(path).substr(0, std::string(path).rfind('\\') + 1) + "ctl3d_calls.txt";
    if (FILE *f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "%s %llx\n", what, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(instance)));
        std::fclose(f);
    }
    return TRUE;
}

extern "C" {
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    self = module;
    const bool noted = reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH;
    return noted ? Note(reason == DLL_PROCESS_ATTACH ? "load" : "unload", nullptr) : TRUE;
}
__declspec(dllexport) BOOL WINAPI Ctl3dRegister(HINSTANCE instance) { return Note("Ctl3dRegister", instance); }
__declspec(dllexport) BOOL WINAPI Ctl3dAutoSubclass(HINSTANCE instance) { return Note("Ctl3dAutoSubclass", instance); }
__declspec(dllexport) BOOL WINAPI Ctl3dUnregister(HINSTANCE instance) { return Note("Ctl3dUnregister", instance); }
}
