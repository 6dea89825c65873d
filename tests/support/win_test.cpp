#include "support/win_test.h"

#include <algorithm>
#include <cstdio>

namespace tavtest {

std::string IniPath()
{
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\TAV.INI";
}

static void FlushProfileCache()
{
    // All-null arguments flush the cached profile file to disk and forget it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "TAV.INI");
}

void WriteIni(const std::string &text)
{
    FlushProfileCache();
    FILE *f = std::fopen(IniPath().c_str(), "wb");
    if (f) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    FlushProfileCache();
}

void DeleteIni()
{
    FlushProfileCache();
    DeleteFileA(IniPath().c_str());
    FlushProfileCache();
}

std::string ReadFileText(const std::string &path)
{
    std::string out;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}

std::string ReadIni()
{
    FlushProfileCache();
    return ReadFileText(IniPath());
}

std::string IniValue(const char *section, const char *key)
{
    FlushProfileCache();
    char buf[4096] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, "TAV.INI");
    return buf;
}

std::string ProgramDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/"));
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()> &pred, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (pred())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, ms - elapsed), QS_ALLINPUT);
    }
}

int WaitProcessPumping(HANDLE process, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return -1;
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, ms - elapsed, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process, &code);
            return static_cast<int>(code);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

} // namespace tavtest
