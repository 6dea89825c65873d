// tavctl reading and checking a backup of many members: `import FILE --dry-run --replace` (the whole file read,
// parsed and checked against TAV.INI, nothing written) from the start of the process to its end, against the
// floor: the same tavctl importing a backup of one program. Two shapes: all members in one object (the check for
// duplicate names once walked every earlier name), and 400 programs sharing them. The figure above the floor for
// 25,000, 50,000 and 100,000 members shows whether the work grows with the file alone.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_util.h"

using namespace bench;

namespace {

// A backup of 400 programs, and `extra` further members: in one object of their own, or spread over the programs.
std::string Backup(int extra, bool oneObject)
{
    const std::string program = "C:\\\\Tools\\\\tool.exe";
    std::string text = "{\n  \"tav\": 1,\n  \"programs\": [\n";
    const int programs = extra ? 400 : 1;
    for (int key = 0; key < programs; ++key) {
        text += "    {\"key\": " + std::to_string(key) + ", \"entry\": \"" + program + ",0,,\\\"" + program +
                "\\\" /n\", \"title\": \"Tool " + std::to_string(key) + "\"";
        for (int m = key; !oneObject && m < extra; m += programs)
            text += ", \"note" + std::to_string(m) + "\": " + std::to_string(m);
        text += key + 1 < programs ? "},\n" : "}\n";
    }
    text += "  ],\n  \"notes\": {";
    for (int m = 0; oneObject && m < extra; ++m)
        text += (m ? ",\n    \"note" : "\n    \"note") + std::to_string(m) + "\": " + std::to_string(m);
    return text + "}\n}\n";
}

std::string Write(const std::string &name, const std::string &text)
{
    const std::string path = tavtest::TempDir() + "\\" + name;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    CloseHandle(file);
    return path;
}

// Milliseconds from starting tavctl on `backup` to its end; -1 when it failed.
double Import(const std::string &backup)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nowhere = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nowhere;
    std::string line = "\"" + ProgramDir() + "\\tavctl.exe\" import \"" + backup + "\" --dry-run --replace";
    PROCESS_INFORMATION pi{};
    DWORD code = 1;
    const double start = NowMs();
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    const double ms = NowMs() - start;
    CloseHandle(nowhere);
    return code == 0 ? ms : -1;
}

} // namespace

int main()
{
    const IniBackup keep;
    WriteIni("-");
    const std::string floor = Write("tav_bench_import_0.json", Backup(0, true));
    std::printf("tavctl import --dry-run of a backup of many members, median of %d runs\n", kRuns);
    for (const bool oneObject : {true, false})
        for (const int members : {25000, 50000, 100000}) {
            if (!oneObject && members != 100000)
                continue;
            const std::string file = Write("tav_bench_import.json", Backup(members, oneObject));
            const Figures f = Compare([&] { return Import(file); }, [&] { return Import(floor); });
            const std::string what = "import, " + std::to_string(members) + " members " +
                                     (oneObject ? "in one object" : "over 400 programs");
            Report(what.c_str(), f, "import of one program", kInformation);
            Note((what + ", above the floor").c_str(), f.work - f.floor, "ms");
            DeleteFileA(file.c_str());
        }
    DeleteFileA(floor.c_str());
    return 0;
}
