#include "launch/shortcut.h"

#include "ini/code_page_path.h"

#include <objidl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "winkit/system_library.h"
#include "launch/command_rules.h"

namespace {

// The shell's link object and the interfaces the bar reads it through.
constexpr CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellLinkW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// Arguments in Unicode have no length limit of their own; this holds any command line.
constexpr int kArgumentsBuffer = 32768;

// ole32 is loaded the first time a shortcut is read rather than imported:
// importing it would load COM into every start of the bar, most of which
// never meet a shortcut. It stays loaded once in.
struct Com {
    HRESULT(WINAPI *initialize)(LPVOID, DWORD) = nullptr;
    void(WINAPI *uninitialize)() = nullptr;
    HRESULT(WINAPI *create)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *) = nullptr;
    void(WINAPI *free)(LPVOID) = nullptr;
};

template <typename F> void Find(HMODULE library, const char *name, F &entry)
{
    entry = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

bool LoadCom(Com &com)
{
    const HMODULE ole32 = LoadSystemLibrary("ole32.dll");
    if (!ole32)
        return false;
    Find(ole32, "CoInitializeEx", com.initialize);
    Find(ole32, "CoUninitialize", com.uninitialize);
    Find(ole32, "CoCreateInstance", com.create);
    Find(ole32, "CoTaskMemFree", com.free);
    return com.initialize && com.uninitialize && com.create && com.free;
}

// COM for the bar's thread while one shortcut is read; a thread that has it
// already keeps it as it was.
class ComApartment {
public:
    explicit ComApartment(const Com &com)
        : com_(com), joined_(SUCCEEDED(com.initialize(nullptr, COINIT_APARTMENTTHREADED)))
    {
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;
    ~ComApartment()
    {
        if (joined_)
            com_.uninitialize();
    }

private:
    const Com &com_;
    bool joined_;
};

template <typename T> class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef &) = delete;
    ComRef &operator=(const ComRef &) = delete;
    ~ComRef()
    {
        if (p)
            p->Release();
    }
    T *p = nullptr;
};

std::wstring Expanded(const std::wstring &text)
{
    const DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (n == 0)
        return text;
    std::wstring out(n, L'\0');
    out.resize(ExpandEnvironmentStringsW(text.c_str(), out.data(), n) - 1);
    return out;
}

// The target as the link's item list names it. Some shells keep the path
// itself only in the ANSI code page, which loses the characters that it
// lacks; the item list holds them.
std::wstring ItemListTarget(const Com &com, IShellLinkW &shell)
{
    PIDLIST_ABSOLUTE items = nullptr;
    std::wstring path(MAX_PATH, L'\0');
    if (FAILED(shell.GetIDList(&items)) || !items || !SHGetPathFromIDListW(items, path.data()))
        path.clear();
    com.free(items);
    path.resize(path.find(L'\0') == std::wstring::npos ? path.size() : path.find(L'\0'));
    return path;
}

bool ReadLink(const Com &com, IShellLinkW &shell, Shortcut &link)
{
    std::vector<wchar_t> text(kArgumentsBuffer, L'\0');
    const int size = static_cast<int>(text.size());
    // S_FALSE and an empty path: the link has no file-system target.
    if (FAILED(shell.GetPath(text.data(), MAX_PATH, nullptr, 0)))
        return false;
    link.target = text.data();
    if (!link.target.empty() && GetFileAttributesW(link.target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::wstring listed = ItemListTarget(com, shell);
        if (!listed.empty())
            link.target = listed;
    }
    text[0] = L'\0';
    shell.GetArguments(text.data(), size);
    link.arguments = text.data();
    text[0] = L'\0';
    shell.GetWorkingDirectory(text.data(), size);
    link.directory = Expanded(text.data());
    text[0] = L'\0';
    shell.GetIconLocation(text.data(), size, &link.iconIndex);
    link.iconFile = Expanded(text.data());
    return true;
}

// The show command from the file's header: some shells' link objects answer
// "normal" whatever the file holds.
int ShowCommandOf(const char *path)
{
    std::string header(76, '\0');
    DWORD read = 0;
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SW_SHOWNORMAL;
    ReadFile(file, header.data(), static_cast<DWORD>(header.size()), &read, nullptr);
    CloseHandle(file);
    header.resize(read);
    return ShortcutShowCommand(header);
}

} // namespace

bool ReadShortcut(const char *path, Shortcut &link)
{
    Com com;
    if (!LoadCom(com))
        return false;
    const ComApartment apartment(com);
    ComRef<IShellLinkW> shell;
    ComRef<IPersistFile> file;
    HRESULT result =
        com.create(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kShellLinkW, reinterpret_cast<void **>(&shell.p));
    if (SUCCEEDED(result))
        result = shell.p->QueryInterface(kPersistFile, reinterpret_cast<void **>(&file.p));
    if (SUCCEEDED(result))
        result = file.p->Load(WideFromCodePage(path).c_str(), STGM_READ);
    if (SUCCEEDED(result) && ReadLink(com, *shell.p, link)) {
        link.showCommand = ShowCommandOf(path);
        return true;
    }
    // A missing file answers with its system error; anything else is no readable shortcut.
    SetLastError(HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : ERROR_BAD_FORMAT);
    return false;
}

IconSource ResolveIconSource(const char *iconFile, int index)
{
    Shortcut link;
    if (IsShortcutFile(iconFile, IsSystemLeadByte) && ReadShortcut(iconFile, link)) {
        if (!link.iconFile.empty())
            return {link.iconFile, link.iconIndex};
        if (!link.target.empty())
            return {link.target, index};
    }
    return {WideFromCodePage(iconFile), index};
}
