// The program tests start in place of a real application: it appends how it was started (the record of
// support/probe_log.h, "qpc" being when it began to run) to the file named by TAV_PROBE_OUT, and exits at once.
// An event whose handle value TAV_PROBE_HANDLE names is set if that handle reached it.
#include <windows.h>
#include <cstdio>
#include <cstdlib>

int main()
{
    LARGE_INTEGER entered;
    QueryPerformanceCounter(&entered);
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAV_PROBE_OUT", out, sizeof out))
        return 2;

    STARTUPINFOA si{.cb = sizeof(STARTUPINFOA)};
    GetStartupInfoA(&si);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    char handle[32] = {};
    if (GetEnvironmentVariableA("TAV_PROBE_HANDLE", handle, sizeof handle))
        SetEvent(reinterpret_cast<HANDLE>(std::strtoull(handle, nullptr, 10)));

    // Append under a named mutex: several probes may be started at once by a drop of many files.
    HANDLE lock = CreateMutexA(nullptr, FALSE, "TAV_PROBE_LOCK");
    WaitForSingleObject(lock, 5000);
    if (FILE *f = std::fopen(out, "ab")) {
        std::fprintf(f, "cmdline=%s\ncwd=%s\ntitle=%s\nflags=%lx\nshow=%u\nqpc=%lld\n\n", GetCommandLineA(), cwd,
                     si.lpTitle ? si.lpTitle : "(none)", static_cast<unsigned long>(si.dwFlags),
                     static_cast<unsigned>(si.wShowWindow), static_cast<long long>(entered.QuadPart));
        std::fclose(f);
    }
    ReleaseMutex(lock);
    CloseHandle(lock);
    return 0;
}
