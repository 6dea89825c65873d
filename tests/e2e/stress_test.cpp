// A long random run against the real TAV.EXE: clicks on slots and control
// buttons, right clicks, moves, page turns, drops, resizes and reloads, in the
// order a printed seed gives. Afterwards TAV.INI holds exactly what the
// actions wrote, the bar still answers, and it holds no more kernel handles,
// GDI objects or windows than after the first stretch of the run.
// The long run by hand: e2e_stress_test.exe --actions=10000 [--seed=N]
#include <shlobj.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "app/settings_rules.h"
#include "bar/layout_rules.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

const char kEnv[] = "environment section", kPrograms[] = "program section";
constexpr int kPages = 20;
using Ini = std::map<std::string, std::map<std::string, std::string>>;  // empty values left out

long Option(const char *name, long fallback)
{
    const std::string line = GetCommandLineA(), flag = std::string("--") + name + "=";
    const size_t at = line.find(flag);
    return at == std::string::npos ? fallback : std::atol(line.c_str() + at + flag.size());
}

std::string Text(const Ini &ini)
{
    std::string text;
    for (const auto &[section, keys] : ini) {
        text += "[" + section + "]\r\n";
        for (const auto &[key, value] : keys)
            text += key + "=" + value + "\r\n";
    }
    return text;
}

Ini Parse(const std::string &text)
{
    Ini ini;
    std::string section, line;
    for (std::istringstream in(text); std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 1 && line[0] == '[')
            section = line.substr(1, line.find(']') - 1);
        else if (const size_t eq = line.find('='); eq != std::string::npos && eq + 1 < line.size())
            ini[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return ini;
}

std::string At(const Ini &ini, const std::string &section, const std::string &key)
{
    const auto s = ini.find(section);
    const auto k = s == ini.end() ? std::map<std::string, std::string>::const_iterator{} : s->second.find(key);
    return s == ini.end() || k == s->second.end() ? "<missing>" : k->second;
}

struct Usage {
    long handles = 0, gdi = 0, dcs = 0, windows = 0;
};

BOOL CALLBACK CountOne(HWND, LPARAM n) { return ++*reinterpret_cast<long *>(n) > 0; }
BOOL CALLBACK CountTree(HWND w, LPARAM n) { return CountOne(w, n) && (EnumChildWindows(w, CountOne, n), TRUE); }

// What the bar holds. GetGuiResources and GetProcessHandleCount answer 0 under Wine, so the tables are read:
// kernel handles from the system's handle table, filtered by the bar's process; GDI objects from the bar's
// own GDI handle table, which its PEB points to (Wine's entries: 24 bytes, the type at 12, a byte at 14 that
// is 0 when free); windows as the bar thread's top-level windows and all their descendants. Display DCs
// (type 1), and the surfaces (5) and regions (4) that go with them, are counted apart: Wine keeps up to 64
// window DCs in a cache that fills as ever new windows paint.
Usage Measure(HANDLE process, DWORD pid, DWORD thread)
{
    struct Entry { ULONG pid; UCHAR type, flags; USHORT value; void *object; ULONG access; };
    struct Table { ULONG count; Entry entries[1]; };
    Usage u;
    std::vector<char> buffer(1 << 20);
    while (NtQuerySystemInformation(SYSTEM_INFORMATION_CLASS(16), buffer.data(), buffer.size(), nullptr) ==
           NTSTATUS(0xC0000004L))  // the table did not fit
        buffer.resize(buffer.size() * 2);
    const auto *table = reinterpret_cast<const Table *>(buffer.data());
    for (ULONG i = 0; i < table->count; ++i)
        u.handles += table->entries[i].pid == pid;
    PROCESS_BASIC_INFORMATION basic{};
    void *gdi = nullptr;
    std::vector<unsigned char> entries(0x10000 * 24);
    NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr);
    ReadProcessMemory(process, reinterpret_cast<char *>(basic.PebBaseAddress) + (sizeof(void *) == 8 ? 0xF8 : 0x94),
                      &gdi, sizeof gdi, nullptr);
    if (!gdi || !ReadProcessMemory(process, gdi, entries.data(), entries.size(), nullptr))
        u.gdi = u.dcs = -1;
    for (size_t i = 0; u.gdi >= 0 && i < 0x10000; ++i) {
        const int type = entries[i * 24 + 14] ? entries[i * 24 + 12] & 0x7F : 0;
        u.dcs += type == 1;
        u.gdi += type != 0 && type != 1 && type != 4 && type != 5;
    }
    EnumThreadWindows(thread, CountTree, reinterpret_cast<LPARAM>(&u.windows));
    return u;
}

void CALLBACK Answered(HWND, UINT, ULONG_PTR done, LRESULT) { *reinterpret_cast<bool *>(done) = true; }

class Stress : public BarTest {
protected:
    // Sends and waits for the answer; a dialog or message box the bar's thread puts up meanwhile is
    // cancelled as a user would, from outside.
    bool Deliver(HWND to, UINT msg, WPARAM w = 0, LPARAM l = 0)
    {
        bool done = false;
        HWND cancelled = nullptr;
        return SendMessageCallbackA(to, msg, w, l, Answered, reinterpret_cast<ULONG_PTR>(&done)) && PumpUntil([&] {
            for (HWND d = FindWindowExA(nullptr, nullptr, "#32770", nullptr); d; d = FindWindowExA(nullptr, d, "#32770", nullptr))
                if (d != cancelled && GetWindowThreadProcessId(d, nullptr) == thread)
                    PostMessageA(cancelled = d, WM_COMMAND, IDCANCEL, 0);
            return done;
        }, 10000);
    }
    bool Command(int id) { return Deliver(bar, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(bar, id))); }
    // Files dropped on a slot button: the drop block is written into the bar's process and freed after.
    bool Drop(HWND button, const std::string &files)
    {
        std::string block(sizeof(DROPFILES), '\0');
        (block += files).append(2, '\0');
        reinterpret_cast<DROPFILES *>(block.data())->pFiles = sizeof(DROPFILES);
        void *remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
        const bool ok = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr) &&
                        Deliver(button, WM_DROPFILES, WPARAM(remote));
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        return ok;
    }
    std::string &Value(const char *stem, int slot) { return model[kPrograms][stem + std::to_string(1000 + slot).substr(1)]; }
    void Swap(int a, int b)
    {
        for (const char *stem : {"profile", "Title"})
            std::swap(Value(stem, a), Value(stem, b));
    }
    // A new program for a slot, which does not exist: a click on it puts up "Execute error".
    void Register(int slot, int variant)
    {
        const std::string icon = variant % 3 ? "C:\\NO\\ICON.ICO" : ProgramDir() + "\\TAV.EXE";
        Value("profile", slot) = icon + "," + std::to_string(variant % 2) + ",,C:\\NO\\SUCH\\P" + std::to_string(variant) + ".EXE";
        Value("Title", slot) = "Program " + std::to_string(variant);
    }
    // Some slots cleared or given new programs, and a new layout, as a hand edit would leave them.
    void Edit(std::mt19937 &rng)
    {
        for (int n = rng() % 8; n-- > 0;) {
            const int slot = rng() % (kPages * 20);
            if (rng() % 2)
                Value("profile", slot) = Value("Title", slot) = "";
            else
                Register(slot, rng() % 100000);
        }
        const unsigned modes[] = {0, SmallButtons, Vertical, Vertical | SmallButtons, PageButtonsFirst, Topmost};
        mode = modes[rng() % 6];
        model[kEnv] = {{"Japan", "0"}, {"maximum pages", std::to_string(kPages)}, {"mode", std::to_string(mode)},
                       {"buttons par page", std::to_string(5 + rng() % 16)}, {"position", "100,100"}, {"startup page", "1"}};
        for (auto &[section, keys] : model)
            std::erase_if(keys, [](const auto &kv) { return kv.second.empty(); });
    }

    Ini model;
    HWND bar = nullptr;
    HANDLE process = nullptr;
    DWORD pid = 0, thread = 0;
    unsigned mode = 0;
    int page = 1, moveSource = -1;
    bool panel = false;
};

TEST_F(Stress, RandomActionsKeepTheProfileAndHoldNoMore)
{
    const long actions = Option("actions", 1000), seed = Option("seed", 20261207);
    // Wine's own caches (window DCs and their regions, system colour brushes, registry keys) grow on the
    // first uses of each action and breathe by a few objects after; by then they have settled. A leak in any
    // action repeats at each of its tens of occurrences between the two measurements.
    const long warm = std::min(1000L, actions / 2), slack = 10;
    std::printf("seed %ld, %ld actions\n", seed, actions);
    std::mt19937 rng(static_cast<unsigned>(seed));
    for (int slot = 0; slot < kPages * 20; ++slot)
        Register(slot, slot);
    Edit(rng);
    model[kEnv]["buttons par page"] = "20";
    bar = Start(Text(model));
    ASSERT_NE(bar, nullptr);
    thread = GetWindowThreadProcessId(bar, &pid);
    process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    Usage first;
    const DWORD t0 = GetTickCount();
    for (long i = 1; i <= actions; ++i) {
        const int count = SlotCount(bar), k = rng() % count, slot = (page - 1) * count + k, kind = rng() % 20;
        const HWND button = GetDlgItem(bar, kFirstSlotId + k);
        bool ok = true;
        if (kind < 6 && panel) {  // the panel's cells would shut down or quit: it is put away first
            ok = Command(IdSystemPanel), panel = false;
        } else if (kind < 6) {
            ok = Command(kFirstSlotId + k);
        } else if (kind < 9) {
            const bool shift = kind == 8;
            ok = Deliver(button, WM_RBUTTONDOWN, MK_RBUTTON | (shift ? MK_SHIFT : 0), MAKELPARAM(4, 4));
            if (!panel && moveSource >= 0 && moveSource != slot)
                Swap(moveSource, slot);
            moveSource = panel ? moveSource : moveSource < 0 && shift ? slot : -1;
        } else if (kind < 13) {
            ok = Command(kind % 2 ? IdNextPage : IdPrevPage);
            page = kind % 2 ? page % kPages + 1 : (page + kPages - 2) % kPages + 1;
        } else if (kind < 15) {
            const int id = IdPin + rng() % 3;  // the pin, the system panel, the Properties dialog
            ok = Command(id);
            mode ^= id == IdPin && moveSource < 0 ? unsigned(Topmost) : 0u;
            panel ^= id == IdSystemPanel && moveSource < 0;
        } else if (kind < 17) {
            const std::string file = rng() % 2 ? "C:\\windows\\system32\\shell32.dll" : "C:\\DROP\\D" + std::to_string(i) + ".EXE";
            const bool two = rng() % 4 == 0;
            ok = Drop(button, file + (two ? std::string(1, '\0') + "C:\\b.txt" : ""));
            if (!two && Value("profile", slot).empty())
                Value("profile", slot) = file + ",0,,\"" + file + "\"";
        } else if (kind < 19) {
            const int w = 60 + rng() % 840, h = 30 + rng() % 700;
            ok = rng() % 2 ? SetWindowPos(bar, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)
                           : Deliver(bar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, h));
        } else {
            Edit(rng);
            WriteIni(Text(model));
            ok = Deliver(bar, WM_USER), panel = false;
        }
        ASSERT_TRUE(ok && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) << "action " << i << ", kind " << kind;
        if (i == warm || i == actions || i % 1000 == 0) {
            // Measured in one layout: the number of slot buttons, and so of windows, follows the layout.
            model[kEnv]["mode"] = std::to_string(mode = 0);
            model[kEnv]["buttons par page"] = "20";
            WriteIni(Text(model));
            ASSERT_TRUE(Deliver(bar, WM_USER));
            panel = false;
            RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            const Usage u = Measure(process, pid, thread);
            std::printf("after %ld actions (%lu ms): %ld handles, %ld GDI objects, %ld display DCs, %ld windows\n", i,
                        GetTickCount() - t0, u.handles, u.gdi, u.dcs, u.windows);
            if (i == warm) {
                first = u;
                EXPECT_TRUE(u.handles > 0 && u.gdi > 0 && u.dcs > 0 && u.windows > 0) << "every count sees the bar's";
            }
            else if (i == actions) {
                EXPECT_LE(u.handles, first.handles + slack) << "kernel handles";
                EXPECT_LE(u.gdi, first.gdi + slack) << "GDI objects";
                EXPECT_LE(u.windows, first.windows) << "windows";
                EXPECT_LE(u.dcs, std::max(first.dcs, 64L + 2)) << "display DCs beyond the cache and Wine's own two";
            }
        }
    }
    for (auto &[section, keys] : model)
        std::erase_if(keys, [](const auto &kv) { return kv.second.empty(); });
    const Ini saved = Parse(ReadFileText(IniPath()));
    for (const Ini *one : {&saved, const_cast<const Ini *>(&model)})
        for (const auto &[section, keys] : *one)
            for (const auto &[key, value] : keys)
                EXPECT_EQ(At(saved, section, key), At(model, section, key)) << "[" << section << "] " << key;
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(bar, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "the bar answers";
    EXPECT_EQ(IniValue(kEnv, "startup page"), std::to_string(page));
    EXPECT_EQ(IniValue(kEnv, "mode"), std::to_string(mode));
    EXPECT_EQ(bar_->Close(), 0);
    CloseHandle(process);
}

} // namespace
