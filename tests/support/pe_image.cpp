#include "support/pe_image.h"

HMODULE LoadProgramBound(const std::string &path, std::string *why)
{
    // Mapped only: no import is resolved and no start-up code runs, on every system alike.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module) {
        *why = "LoadLibrary failed: " + std::to_string(GetLastError());
        return nullptr;
    }
    auto *base = reinterpret_cast<BYTE *>(module);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return module;
    for (auto *imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); imp->Name; ++imp) {
        const char *dllName = reinterpret_cast<const char *>(base + imp->Name);
        HMODULE dll = LoadLibraryA(dllName);
        if (!dll) {
            *why = std::string("cannot load ") + dllName;
            return nullptr;
        }
        auto *names = reinterpret_cast<const IMAGE_THUNK_DATA *>(
            base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            FARPROC proc;
            std::string what;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                proc = GetProcAddress(dll, MAKEINTRESOURCEA(IMAGE_ORDINAL(names->u1.Ordinal)));
                what = "#" + std::to_string(IMAGE_ORDINAL(names->u1.Ordinal));
            } else {
                const auto *byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
                what = reinterpret_cast<const char *>(byName->Name);
                proc = GetProcAddress(dll, what.c_str());
            }
            if (!proc) {
                *why = std::string(dllName) + " has no " + what;
                return nullptr;
            }
            DWORD old;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(proc);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
        }
    }
    return module;
}
