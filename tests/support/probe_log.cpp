#include "support/probe_log.h"

#include <shlobj.h>

#include "support/win_test.h"

namespace tavtest {

ProbeLog::ProbeLog()
{
    path = TempDir() + "\\tav_probe_" + std::to_string(GetCurrentProcessId()) + ".txt";
    Clear();
    SetEnvironmentVariableA("TAV_PROBE_OUT", path.c_str());
}

std::vector<ProbeRecord> ProbeLog::WaitFor(size_t count, DWORD ms) const
{
    std::vector<ProbeRecord> records;
    PumpUntil([&] {
        // "key=value" lines; an empty line ends a record, so one still being written is left out.
        const std::string text = ReadFileText(path);
        records.assign(1, {});
        for (size_t pos = 0, end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1) {
            const std::string line = text.substr(pos, end - pos);
            if (line.empty())
                records.emplace_back();
            else
                records.back()[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
        records.pop_back();
        return records.size() >= count;
    }, ms);
    return records;
}

std::string ProbePath() { return ProgramDir() + "\\probe.exe"; }

std::string FoundExecutable(const std::string &file)
{
    char found[MAX_PATH] = {};
    FindExecutableA(file.c_str(), nullptr, found);
    return found;
}

bool MakeShortcut(const std::wstring &link, const ShortcutFields &fields)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW *shell = nullptr;
    IPersistFile *file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&shell)))) {
        shell->SetPath(fields.target.c_str());
        shell->SetArguments(fields.arguments.c_str());
        shell->SetWorkingDirectory(fields.directory.c_str());
        shell->SetShowCmd(fields.show);
        if (!fields.iconFile.empty())
            shell->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex);
        saved = SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
                SUCCEEDED(file->Save(link.c_str(), TRUE));
        if (file)
            file->Release();
        shell->Release();
    }
    CoUninitialize();
    return saved;
}

namespace {

// The names, each ended by a zero and the list by one more, behind the header; wide names say so.
template <class Char>
void *WriteDropOf(HANDLE process, const std::vector<std::basic_string<Char>> &files)
{
    std::basic_string<Char> names;
    for (const auto &f : files)
        names.append(f).push_back(0);
    names.push_back(0);
    std::string block(sizeof(DROPFILES), '\0');
    reinterpret_cast<DROPFILES *>(block.data())->pFiles = sizeof(DROPFILES);
    reinterpret_cast<DROPFILES *>(block.data())->fWide = sizeof(Char) > 1;
    block.append(reinterpret_cast<const char *>(names.data()), names.size() * sizeof(Char));
    // A page of the receiver's own: a drop handle is the address of its block there.
    void *remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr) ? remote : nullptr;
}

template <class Char>
bool PostDropOf(HWND target, const std::vector<std::basic_string<Char>> &files)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void *remote = WriteDropOf(process, files);
    const bool ok = remote && PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    CloseHandle(process);
    return ok;
}

} // namespace

void *WriteDrop(HANDLE process, const std::vector<std::string> &files) { return WriteDropOf(process, files); }
bool PostDrop(HWND target, const std::vector<std::string> &files) { return PostDropOf(target, files); }
bool PostWideDrop(HWND target, const std::vector<std::wstring> &files) { return PostDropOf(target, files); }

} // namespace tavtest
