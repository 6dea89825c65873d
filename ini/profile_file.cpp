#include "ini/profile_file.h"

#include "ini/code_page_path.h"
#include "ini/code_page_rules.h"
#include "ini/settings_rules.h"

#include <shlobj.h>

#include <cstring>

namespace
{

// A change is made in the next TAV.INI and the next TAV.BAK, each written whole beside the file
// it replaces and then moved over it in one step.
constexpr char kNextIniFile[] = "TAV.NEW";
constexpr char kNextBackupFile[] = "TAV.OLD";

std::string WindowsDirFile(const char *name)
{
    char dir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return n && n < MAX_PATH ? std::string(dir, n) + "\\" + name : std::string();
}

// The file `name` in the folder of `file`.
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

// TAV.INI as this user has it: the per-user copy `store` once there is one, which the x86
// build on current Windows, the x64 build and 32-bit peers then all share.
std::string ProfileFile(const std::string &store)
{
    const bool virtualised = !store.empty() && GetFileAttributesA(store.c_str()) != INVALID_FILE_ATTRIBUTES;
    return virtualised ? store : WindowsDirFile(kIniFile);
}

std::string ProfileFile()
{
    return ProfileFile(VirtualStoreFile(kIniFile));
}

bool HeldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Tries `step` until it works or fails for another reason than a program holding the file,
// for at most kHeldProfileWaitMs.
bool WhileHeld(FunctionRef<bool()> step)
{
    for (const DWORD start = GetTickCount();;) {
        if (step())
            return true;
        if (!HeldByAnother(GetLastError()) || GetTickCount() - start >= kHeldProfileWaitMs)
            return false;
        Sleep(50);
    }
}

// The bytes of TAV.INI or a file beside it, "" for none at all; nothing when it is there but
// could not be read whole (another program held it past the wait).
std::optional<std::string> ReadProfileBytes(const std::string &path)
{
    std::optional<std::string> text = ReadWholeFile(WideFromCodePage(path));
    const DWORD error = GetLastError();
    return text || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ? text : std::string();
}

// What the profile functions wrote to `path` put on the disk.
bool FlushFile(const std::string &path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    return ok;
}

// The profile functions keep a file they read; this one is about to be another file.
void ForgetProfileCache(const std::string &path)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

// `from` takes the place of `to` in one step. A file another program has open cannot be
// replaced (some systems answer that as access denied): it is waited for.
bool ReplaceWhole(const std::string &from, const std::string &to)
{
    for (const DWORD start = GetTickCount();;) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((!HeldByAnother(error) && error != ERROR_ACCESS_DENIED) || GetTickCount() - start >= kHeldProfileWaitMs)
            return false;
        Sleep(20);
    }
}

// Whether this user may change an existing file: false only when it answers access denied
// (a standard user and the Windows directory, a file made read-only), not when it is held.
bool MayChange(const std::string &path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;  // none yet: whether its folder takes a new file decides
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return CloseHandle(file), true;
    return GetLastError() != ERROR_ACCESS_DENIED;
}

// The change in folder `dir` (which holds TAV.INI, or is to hold its first per-user copy),
// starting from `before`, the whole of TAV.INI (`existed`: there was a file at all).
// The order keeps a whole TAV.INI and a whole TAV.BAK at every moment: the next TAV.INI is
// made first; then the file before becomes TAV.BAK (by a whole file put on the disk and moved
// into place); last, the next TAV.INI, put on the disk, replaces the old one. Returns the system error of
// the step that failed, or 0.
DWORD ChangeIn(const std::string &dir, const std::string &before, bool existed,
               FunctionRef<bool(const char *file)> edit)
{
    const std::string next = dir + kNextIniFile, nextBackup = dir + kNextBackupFile;
    const auto failed = [&](DWORD error) {
        DeleteFileA(next.c_str());
        DeleteFileA(nextBackup.c_str());
        return error ? error : DWORD{ERROR_WRITE_FAULT};
    };
    // Access denied here, and only here, means the folder takes no new file from this user.
    if (!WriteWholeFile(WideFromCodePage(next), before, false))
        return failed(GetLastError());
    const auto later = [&](DWORD error) { return failed(error == ERROR_ACCESS_DENIED ? ERROR_WRITE_FAULT : error); };
    ForgetProfileCache(next);  // what it held under this name before is not this file
    const bool edited = edit(next.c_str());
    const DWORD editError = GetLastError();
    ForgetProfileCache(next);
    if (!edited)
        return later(editError);
    const std::optional<std::string> after = ReadProfileBytes(next);
    if (!after)
        return later(GetLastError());
    if (*after == before) {
        DeleteFileA(next.c_str());
        return 0;
    }
    if (existed && !(WriteWholeFile(WideFromCodePage(nextBackup), before, true) &&
                     ReplaceWhole(nextBackup, dir + kIniBackupFile)))
        return later(GetLastError());
    const std::string ini = dir + kIniFile;
    if (!FlushFile(next) || !ReplaceWhole(next, ini))
        return later(GetLastError());
    ForgetProfileCache(ini);
    return 0;
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

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring &path)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    WhileHeld([&] {
        file = CreateFileW(path.c_str(), GENERIC_READ, kAnySharing, nullptr, OPEN_EXISTING, 0, nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    LARGE_INTEGER size{};
    DWORD got = 0;
    bool whole = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 31);
    if (whole) {
        text.resize(static_cast<std::size_t>(size.QuadPart));
        for (std::size_t at = 0; whole && at < text.size(); at += got)
            whole = ReadFile(file, text.data() + at, static_cast<DWORD>(text.size() - at), &got, nullptr) && got > 0;
    }
    const DWORD error = whole ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    SetLastError(error ? error : ERROR_READ_FAULT);
    return whole ? std::optional<std::string>(std::move(text)) : std::nullopt;
}

bool WriteWholeFile(const std::wstring &path, const std::string &bytes, bool durable)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD wrote = 0;
    bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
                                wrote == bytes.size());
    ok = ok && (!durable || FlushFileBuffers(file));
    const DWORD error = GetLastError();
    ok = CloseHandle(file) && ok;
    SetLastError(error);
    return ok;
}

ProfileLock::ProfileLock()
{
    // Opened once and kept for the process's life: a lock then costs one wait and one release.
    static const HANDLE mutex = CreateMutexA(nullptr, FALSE, kIniWriterLock);
    mutex_ = mutex;
    // A writer that died holding it leaves it abandoned, which hands it on all the same.
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
    return WhileHeld([&] {
        constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kAnySharing, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return CloseHandle(file), true;
        // No file at all is an empty profile, which reads as it is.
        return !HeldByAnother(GetLastError());
    });
}

void ClearInterruptedChange()
{
    const ProfileLock lock;
    if (!lock.Held())
        return;  // a writer is at work: its files are not strays
    for (const std::string &ini : {WindowsDirFile(kIniFile), VirtualStoreFile(kIniFile)})
        if (!ini.empty())
            for (const char *name : {kNextIniFile, kNextBackupFile})
                DeleteFileA(Sibling(ini, name).c_str());
}

bool ChangeProfile(FunctionRef<bool(const char *file)> edit)
{
    const ProfileLock lock;
    if (!lock.Held()) {
        SetLastError(WAIT_TIMEOUT);
        return false;
    }
    const std::string store = VirtualStoreFile(kIniFile), ini = ProfileFile(store);
    // The change starts from the whole file; one another program holds past the wait is not
    // guessed at (a per-user copy made without it would lose every program it holds).
    const std::optional<std::string> before = ReadProfileBytes(ini);
    if (!before)
        return false;
    const bool existed = GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES;
    // Only a file or folder this user may not write moves the change to the per-user copy,
    // never one that is merely held or a step that failed for another reason.
    const bool toStore = !store.empty() && store != ini, mayChange = MayChange(ini);
    if (!mayChange && !toStore)
        return false;
    if (mayChange) {
        const DWORD error = ChangeIn(Sibling(ini, ""), *before, existed, edit);
        if (error != ERROR_ACCESS_DENIED || !toStore)
            return error == 0;
    }
    for (std::size_t at = store.find('\\', 3); at != std::string::npos; at = store.find('\\', at + 1))
        CreateDirectoryA(store.substr(0, at).c_str(), nullptr);
    return ChangeIn(Sibling(store, ""), *before, existed, edit) == 0;
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

std::optional<std::string> ReadStoredText(const char *section, const char *key)
{
    // A default no value can hold stands for a key that is not there.
    static constexpr char kAbsent[] = "\x01";
    const std::string file = ProfileFile();
    for (DWORD size = kValueBuffer;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = GetPrivateProfileStringA(section, key, kAbsent, buffer.data(), size, file.c_str());
        if (length + 2 < size || size >= static_cast<DWORD>(kLongestProgramValue)) {
            if (std::strcmp(buffer.data(), kAbsent) == 0)
                return std::nullopt;
            return std::string(buffer.data(), length);
        }
    }
}

bool WriteProfileKeys(const std::vector<KeyWrite> &writes)
{
    const ProfileLock lock;
    if (!lock.Held())
        return false;
    // Every write rewrites the whole file: only the keys that change are written.
    std::vector<const KeyWrite *> changed;
    for (const KeyWrite &w : writes)
        if (ReadStoredText(w.section, w.key.c_str()) != w.value)
            changed.push_back(&w);
    return changed.empty() || ChangeProfile([&](const char *file) {
               for (const KeyWrite *w : changed)
                   if (!WritePrivateProfileStringA(w->section, w->key.c_str(), w->value ? w->value->c_str() : nullptr,
                                                   file))
                       return false;
               return true;
           });
}

bool WriteProfileKey(const char *section, const char *key, const char *value)
{
    return WriteProfileKeys({{section, key, value ? std::optional<std::string>(value) : std::nullopt}});
}

bool WriteProgramKey(const char *key, const char *value)
{
    return WriteProfileKey(kProgramSection, key, value);
}

bool WriteSlotKeys(int slot, const std::optional<std::string> &entry, const std::optional<std::string> &title)
{
    return WriteProfileKeys({{kProgramSection, ProfileKey(slot), entry}, {kProgramSection, TitleKey(slot), title}});
}

bool WriteProfileSection(const char *section, const std::string &text)
{
    const ProfileLock lock;
    return lock.Held() && (ReadSection(section) == text || ChangeProfile([&](const char *file) {
                               return WritePrivateProfileSectionA(section, text.data(), file) != FALSE;
                           }));
}

SlotExchange ExchangeProgramSlots(int a, int b)
{
    const ProfileLock lock;
    if (!lock.Held())
        return SlotExchange::NotStored;
    const std::string keys[2][2] = {{ProfileKey(a), ProfileKey(b)}, {TitleKey(a), TitleKey(b)}};
    std::string values[2][2];
    for (int kind = 0; kind < 2; ++kind)
        for (int side = 0; side < 2; ++side)
            if (const auto value = ReadProgramValue(keys[kind][side]))
                values[kind][side] = *value;
            else
                return SlotExchange::NotRead;
    std::vector<KeyWrite> writes;
    for (int kind = 0; kind < 2; ++kind)
        writes.insert(writes.end(), {{kProgramSection, keys[kind][1], values[kind][0]},
                                     {kProgramSection, keys[kind][0], values[kind][1]}});
    return WriteProfileKeys(writes) ? SlotExchange::Done : SlotExchange::NotStored;
}

std::string ReadProgramSection()
{
    return ReadSection(kProgramSection);
}

std::string ReadEnvironmentSection()
{
    return ReadSection(kEnvironmentSection);
}
