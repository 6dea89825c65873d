#include "ini/settings.h"

#include "winkit/module.h"
#include "ini/code_page_text.h"
#include "ini/program_entry.h"

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <cstring>
#include <string>
#include <vector>


BarSettings gSettings;
ProfileState gProfile;

namespace {

std::string WindowsDirFile(const char *name)
{
    char dir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return n && n < MAX_PATH ? std::string(dir, n) + "\\" + name : std::string();
}

std::string ReadWholeFile(const std::string &path)
{
    std::string text;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char chunk[1 << 16];
    for (DWORD got = 0; ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0;)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

// TAV.INI's sibling `name` (TAV.BAK).
std::string Sibling(const std::string &file, const char *name)
{
    return file.substr(0, file.find_last_of('\\') + 1) + name;
}

// The per-user copy that Windows' file virtualization keeps of a file of the Windows
// directory for a 32-bit program: %LOCALAPPDATA%\VirtualStore\<the directory without its
// drive>\<name>. "" when the system cannot say where that is.
std::string VirtualStoreFile(const char *name)
{
    char local[MAX_PATH] = {};
    const std::string windows = WindowsDirFile(name);
    if (windows.size() < 3 || windows[1] != ':' ||
        FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return {};
    return std::string(local) + "\\VirtualStore" + windows.substr(2);
}

// TAV.INI (or its sibling) as this user has it: the per-user copy `store` once there is one,
// which the x86 build on current Windows, the x64 build and 32-bit peers then all share.
std::string ProfileFile(const std::string &store, const char *name = kIniFile)
{
    const bool virtualised = !store.empty() && GetFileAttributesA(store.c_str()) != INVALID_FILE_ATTRIBUTES;
    return virtualised ? Sibling(store, name) : WindowsDirFile(name);
}

std::string ProfileFile(const char *name = kIniFile)
{
    return ProfileFile(VirtualStoreFile(kIniFile), name);
}

// One rewrite of TAV.INI, under the lock. The file before it is kept as TAV.BAK: the profile
// writer empties the file and writes it anew, so a bar killed meanwhile (as at the end of a
// Windows session) would otherwise leave it empty or cut. Where the Windows directory's file
// cannot be written (a standard user on current Windows), it is copied to the per-user store
// first, as virtualization does, and written there. False when neither could be written.
bool Rewrite(const std::function<BOOL(const char *file)> &write)
{
    const std::string store = VirtualStoreFile(kIniFile), ini = ProfileFile(store);
    ProfileReadable();  // a file another program holds for a moment is waited for
    CopyFileA(ini.c_str(), Sibling(ini, kIniBackupFile).c_str(), FALSE);
    if (write(ini.c_str()))
        return true;
    // Only a file this user may not write moves to the store, not one that is merely held.
    const DWORD error = GetLastError();
    if (store.empty() || store == ini || error != ERROR_ACCESS_DENIED)
        return false;
    for (std::size_t at = store.find('\\', 3); at != std::string::npos; at = store.find('\\', at + 1))
        CreateDirectoryA(store.substr(0, at).c_str(), nullptr);
    CopyFileA(ini.c_str(), store.c_str(), TRUE);
    CopyFileA(store.c_str(), Sibling(store, kIniBackupFile).c_str(), FALSE);
    return write(store.c_str()) != FALSE;
}

// A section read whole, in the form SetSectionValues takes.
std::string ReadSection(const char *section)
{
    // The buffer doubles until the section fits. A cut section answers size - 2;
    // older readers answer 0 instead, with the text they could convert in the
    // buffer. The text is never larger than TAV.INI, so the bound only stops a
    // runaway loop.
    constexpr DWORD kLargest = 1u << 30;
    const std::string file = ProfileFile();
    std::string text;
    for (DWORD size = 1u << 16;; size *= 2) {
        text.assign(size, '\0');
        const DWORD got = GetPrivateProfileSectionA(section, text.data(), size, file.c_str());
        const bool cut = got + 2 >= size || (got == 0 && text[0] != '\0');
        if (!cut || size >= kLargest)
            break;
    }
    const std::size_t end = text[0] == '\0' ? 0 : text.find(std::string_view("\0\0", 2));
    return end == std::string::npos ? text + '\0' : text.substr(0, end == 0 ? 0 : end + 1) + '\0';
}

} // namespace

ProfileLock::ProfileLock()
{
    // Opened once and kept for the process's life: a lock then costs one wait and one release.
    static const HANDLE mutex = CreateMutexA(nullptr, FALSE, kIniWriterLock);
    mutex_ = mutex;
    // A writer that died holding it leaves it abandoned, which hands it on all the same;
    // after the time-out the work goes ahead unguarded rather than being lost.
    held_ = mutex_ && WaitForSingleObject(mutex_, kProfileLockTimeoutMs) != WAIT_TIMEOUT;
}

ProfileLock::~ProfileLock()
{
    if (held_)
        ReleaseMutex(mutex_);
}

std::string ProfilePath()
{
    return ProfileFile();
}

bool ProfileReadable()
{
    const std::string path = ProfileFile();
    for (const DWORD start = GetTickCount();;) {
        constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kAnySharing, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return CloseHandle(file), true;
        // No file at all is an empty profile, which reads as it is.
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return true;
        if (GetTickCount() - start >= kHeldProfileWaitMs)
            return false;
        Sleep(50);
    }
}

void RestoreCutProfile()
{
    const ProfileLock lock;
    const std::string store = VirtualStoreFile(kIniFile), ini = ProfileFile(store),
                      backup = ProfileFile(store, kIniBackupFile);
    // Only a file smaller than its backup can be a cut one: the files are read only then.
    WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
    const auto size = [](const WIN32_FILE_ATTRIBUTE_DATA &d) {
        return (ULONGLONG{d.nFileSizeHigh} << 32) | d.nFileSizeLow;
    };
    if (!GetFileAttributesExA(ini.c_str(), GetFileExInfoStandard, &a) ||
        !GetFileAttributesExA(backup.c_str(), GetFileExInfoStandard, &b) || size(a) >= size(b))
        return;
    if (ProfileLooksCut(ReadWholeFile(ini), ReadWholeFile(backup))) {
        CopyFileA(backup.c_str(), ini.c_str(), FALSE);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // forget what was read of the cut file
    }
}

static long long ReadInt(const std::string &file, const char *key, int def)
{
    // Read as text and converted here rather than by the profile reader's integer form, whose
    // overflow behaviour differs between systems: a hand-edited huge number saturates instead.
    // A missing key or an empty value gives the default, as the integer reader does.
    char text[kIntegerBuffer] = {};
    GetPrivateProfileStringA(kEnvironmentSection, key, "", text, sizeof text, file.c_str());
    return ProfileInt(text, def);
}

int LoadLanguageOffset()
{
    const int def = DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0);
    return LanguageOffsetFromJapan(ReadInt(ProfileFile(), kKeyJapan, def));
}

BarPosition LoadSettings(bool startup, BarSettings &settings)
{
    // What is read of a file another program holds is nothing at all, which would pass for
    // every default: a start then keeps the defaults without ever saving them. (A reload
    // reads only a file it found readable.)
    gProfile.settingsLoaded = !startup || ProfileReadable();
    const std::string file = ProfileFile();  // looked for once, not at every key
    RawSettings raw;
    if (startup)
        raw.japan = ReadInt(file, kKeyJapan, DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0));
    raw.mode = ReadInt(file, kKeyMode, kDefaultMode);
    raw.maximumPages = ReadInt(file, kKeyMaximumPages, kDefaultMaximumPages);
    if (startup)
        raw.startupPage = ReadInt(file, kKeyStartupPage, kDefaultStartupPage);
    raw.buttonsPerPage = ReadInt(file, kKeyButtonsPerPage, kDefaultButtonsPerPage);

    std::vector<char> position(startup ? kStartupPositionBuffer : kReloadPositionBuffer, '\0');
    GetPrivateProfileStringA(kEnvironmentSection, kKeyPosition, "", position.data(),
                             static_cast<DWORD>(position.size()), file.c_str());
    raw.position = position.data();
    return ApplyRawSettings(raw, startup, settings);
}

bool SaveSettings(HWND bar, const BarSettings &settings, bool closing)
{
    if (!gProfile.settingsLoaded)
        return true;
    RECT r{};
    GetWindowRect(bar, &r);
    // A minimized bar stands where the system parked it; its own place is the restored one.
    // (The bar is a tool window, so the placement is in screen coordinates.)
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (IsIconic(bar) && GetWindowPlacement(bar, &wp))
        r = wp.rcNormalPosition;
    bool stored = true;
    {
        // The five keys in one rewrite of the file, and none when they are as stored.
        const ProfileLock lock;
        const std::string before = ReadSection(kEnvironmentSection);
        const std::string after =
            SetSectionValues(before, {{kKeyMode, std::to_string(settings.mode)},
                                      {kKeyStartupPage, std::to_string(settings.currentPage)},
                                      {kKeyMaximumPages, std::to_string(settings.maximumPages)},
                                      {kKeyButtonsPerPage, std::to_string(ButtonsPerPageToSave(settings))},
                                      {kKeyPosition, FormatPosition(r.left, r.top)}});
        stored = after == before || Rewrite([&](const char *file) {
                     return WritePrivateProfileSectionA(kEnvironmentSection, after.data(), file);
                 });
    }
    if (!stored) {
        TellNotStored(closing ? nullptr : bar);  // no owner for a window on its way out
        return false;
    }
    BroadcastChangeNotice(NoticeChanged);
    return true;
}

static BOOL CALLBACK CollectWindow(HWND w, LPARAM list)
{
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
    return TRUE;
}

void BroadcastChangeNotice(LPARAM code)
{
    // Before registration there is nothing to announce with.
    if (!gProfile.changeNoticeId)
        return;
    // Every top-level window that answers gets the notice, as a broadcast would
    // give it; but a hung program must not stop the bar. Each window is waited
    // for a bounded time, and once one window of a thread has not answered, the
    // rest of that thread's windows are passed over in this notice.
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<DWORD> silentThreads;
    for (HWND w : windows) {
        const DWORD thread = GetWindowThreadProcessId(w, nullptr);
        if (thread == 0 || std::find(silentThreads.begin(), silentThreads.end(), thread) != silentThreads.end())
            continue;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(w, gProfile.changeNoticeId, 0, code, SMTO_NORMAL | SMTO_ABORTIFHUNG, kNoticeTimeoutMs,
                                 &answer) &&
            IsWindow(w))
            silentThreads.push_back(thread);
    }
}

int ReadProgramKey(const char *key, char *buffer, int size)
{
    if (size <= 0)
        return 0;
    // The reader may stop short of a double-byte character it cannot fit; a
    // byte of an earlier value must not show through behind it.
    std::memset(buffer, 0, static_cast<size_t>(size));
    return static_cast<int>(
        GetPrivateProfileStringA(kProgramSection, key, "", buffer, static_cast<DWORD>(size), ProfileFile().c_str()));
}

std::optional<std::string> ReadProgramValue(const std::string &key)
{
    // Most values fit the first buffer, so most reads are one read.
    for (int size = static_cast<int>(kValueBuffer); size <= kLongestProgramValue; size *= 2) {
        std::vector<char> buffer(static_cast<size_t>(size));
        const int length = ReadProgramKey(key.c_str(), buffer.data(), size);
        // The reader answers size - 1 when it cut the value; on a double-byte system it may
        // stop one byte earlier rather than split a character.
        if (length < size - 2)
            return std::string(buffer.data(), static_cast<size_t>(length));
    }
    return std::nullopt;
}

bool WriteProfileKey(const char *section, const char *key, const char *value)
{
    const ProfileLock lock;
    // Written only when it changes: every write rewrites the whole file. A buffer one byte
    // longer than the value reads a longer stored value as different; the default stands
    // for a key that is not there.
    static constexpr char kAbsent[] = "\x01";
    std::vector<char> stored((value ? std::strlen(value) : 0) + sizeof kAbsent + 1, '\0');
    GetPrivateProfileStringA(section, key, kAbsent, stored.data(), static_cast<DWORD>(stored.size()),
                             ProfileFile().c_str());
    return std::strcmp(stored.data(), value ? value : kAbsent) == 0 ||
           Rewrite([&](const char *file) { return WritePrivateProfileStringA(section, key, value, file); });
}

bool WriteProgramKey(const char *key, const char *value)
{
    return WriteProfileKey(kProgramSection, key, value);
}

bool WriteProfileSection(const char *section, const std::string &text)
{
    const ProfileLock lock;
    return ReadSection(section) == text || Rewrite([&](const char *file) {
               return WritePrivateProfileSectionA(section, text.data(), file);
           });
}

SlotExchange ExchangeProgramSlots(int a, int b)
{
    const ProfileLock lock;
    const std::string keys[2][2] = {{ProfileKey(a), ProfileKey(b)}, {TitleKey(a), TitleKey(b)}};
    std::string values[2][2];
    for (int kind = 0; kind < 2; ++kind)
        for (int side = 0; side < 2; ++side)
            if (const auto value = ReadProgramValue(keys[kind][side]))
                values[kind][side] = *value;
            else
                return SlotExchange::NotRead;
    for (int kind = 0; kind < 2; ++kind)
        if (!WriteProgramKey(keys[kind][1].c_str(), values[kind][0].c_str()) ||
            !WriteProgramKey(keys[kind][0].c_str(), values[kind][1].c_str()))
            return SlotExchange::NotStored;
    return SlotExchange::Done;
}

std::string ReadProgramSection()
{
    return ReadSection(kProgramSection);
}

std::string ReadEnvironmentSection()
{
    return ReadSection(kEnvironmentSection);
}

int LoadTavString(unsigned base, char *buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    return LoadStringA(ResourceModule(), StringId(base, gSettings.languageOffset), buffer, size);
}

std::wstring LoadTavText(unsigned base)
{
    // Length 0 asks for a pointer to the resource's own text, which is not terminated.
    const wchar_t *text = nullptr;
    const int length = LoadStringW(ResourceModule(), StringId(base, gSettings.languageOffset),
                                   reinterpret_cast<wchar_t *>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

unsigned TavDialogId(DialogKind kind)
{
    return DialogId(kind, gSettings.languageOffset);
}

void StartChangeNotices()
{
    gProfile.changeNoticeId = RegisterWindowMessageA(kChangeNoticeName);
}
