// The launch probe: a tiny program that tests start in place of a real
// application. It appends what it was started with to the file named by the
// environment variable TAV_PROBE_OUT (inherited from the test that started
// the launcher) and exits at once.
//
// Record format, one record per start, ended by an empty line:
//   cmdline=<GetCommandLineA>
//   cwd=<current directory>
//   title=<STARTUPINFO lpTitle, or (none)>
//   flags=<dwFlags in hex>
//   show=<wShowWindow>
//   qpc=<QueryPerformanceCounter on entry: when the probe began to run>
#include <windows.h>
#include <cstdio>

int main()
{
    LARGE_INTEGER entered;
    QueryPerformanceCounter(&entered);
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAV_PROBE_OUT", out, sizeof out))
        return 2;

    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);

    // Append under a named mutex: several probes may be started at once by a drop of many files.
    HANDLE lock = CreateMutexA(nullptr, FALSE, "TAV_PROBE_LOCK");
    WaitForSingleObject(lock, 5000);
    FILE *f = std::fopen(out, "ab");
    if (f) {
        std::fprintf(f, "cmdline=%s\ncwd=%s\ntitle=%s\nflags=%lx\nshow=%u\nqpc=%lld\n\n", GetCommandLineA(), cwd,
                     si.lpTitle ? si.lpTitle : "(none)", static_cast<unsigned long>(si.dwFlags),
                     static_cast<unsigned>(si.wShowWindow), static_cast<long long>(entered.QuadPart));
        std::fclose(f);
    }
    ReleaseMutex(lock);
    CloseHandle(lock);
    return 0;
}
