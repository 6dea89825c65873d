// TAV.INI as a file: where this user's copy is, the writers' lock, reads of keys and sections,
// and every change made as one operation that a kill at any moment leaves whole.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A function borrowed for the length of one call: unlike std::function it neither copies
// nor owns what it calls, and costs no code beyond the call itself.
template <class Signature> class FunctionRef;
template <class R, class... Args> class FunctionRef<R(Args...)>
{
  public:
    template <class F>
    FunctionRef(const F &f)
        : object_(&f), call_([](const void *object, Args... args) -> R { return (*static_cast<const F *>(object))(args...); })
    {
    }
    R operator()(Args... args) const { return call_(object_, args...); }

  private:
    const void *object_;
    R (*call_)(const void *, Args...);
};

// Held by every writer of TAV.INI for the whole of its change (read, decide, write: two writers
// at once would each put back the other's earlier keys). The named mutex is shared by this bar,
// a bar on another desktop and tavctl. A thread may take it again while it holds it. Readers
// need not hold it: a change replaces the file whole, so a read sees one file or the other.
constexpr DWORD kProfileLockTimeoutMs = 5000;
class ProfileLock
{
  public:
    ProfileLock();
    ~ProfileLock();
    ProfileLock(const ProfileLock &) = delete;
    ProfileLock &operator=(const ProfileLock &) = delete;
    // False when another writer kept it for all of kProfileLockTimeoutMs: nothing may be
    // written then (every write function refuses and its caller says so).
    bool Held() const { return held_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// Whether TAV.INI can be read: false only when another program has held it
// open without sharing for all of kHeldProfileWaitMs (a backup or sync tool).
// The profile functions would then read nothing, which must not pass for an
// empty file.
constexpr DWORD kHeldProfileWaitMs = 5000;
bool ProfileReadable();

// The bytes of a whole file (TAV.INI, a backup tavctl imports), opened sharing everything; a
// file another program holds unshared is waited for, at most kHeldProfileWaitMs. "" for an
// empty file. Nothing, with the system's error readable, for a file that is not there
// (ERROR_FILE_NOT_FOUND), is held past the wait or could not be read whole.
std::optional<std::string> ReadWholeFile(const std::wstring &path);
// `bytes` as the whole of a new file, held unshared while it is written; `durable`: on the disk
// before it answers. False, with the system's error readable, when any step failed.
bool WriteWholeFile(const std::wstring &path, const std::string &bytes, bool durable);

// The TAV.INI this user's bar reads: the Windows directory's, or the per-user copy once
// there is one.
std::string ProfilePath();

// Removes the half-made files a writer killed mid-change left beside TAV.INI. TAV.INI and
// TAV.BAK themselves are never left cut, so nothing is ever put back over them.
void ClearInterruptedChange();

// One change of TAV.INI. `edit` makes its writes with the profile functions to the file it is
// given: a copy of TAV.INI beside it, which then replaces TAV.INI whole (and the file before it
// becomes TAV.BAK), so a kill at any moment leaves either the file before or the file after.
// Where the Windows directory cannot be written, the change lands in the per-user copy, as
// file virtualization does. Nothing is written when the edit changes no byte. False, with
// nothing changed, when the lock, the file or a write could not be had.
bool ChangeProfile(FunctionRef<bool(const char *file)> edit);

// A slot's keys, read into a buffer of the given size (the value is cut at
// size - 1 bytes, as the profile reader does). Missing reads as "".
int ReadProgramKey(const char *key, char *buffer, int size);
// A slot's key whole, however long: the buffer grows until the value fits.
// Nothing when it would not fit kLongestProgramValue; no reader cuts it.
constexpr int kLongestProgramValue = 16 * 1024 * 1024;
std::optional<std::string> ReadProgramValue(const std::string &key);

// Keys written together as one change; a key whose value is already stored is left as it
// stands, and no change is made when every key is. No value deletes the key.
struct KeyWrite {
    const char *section;
    std::string key;
    std::optional<std::string> value;
};
bool WriteProfileKeys(const std::vector<KeyWrite> &writes);
// One key (nullptr deletes it). False when it could not be stored (see TellNotStored).
bool WriteProgramKey(const char *key, const char *value);
bool WriteProfileKey(const char *section, const char *key, const char *value);
// A slot's entry and title as one change ("profile%03d" first, as the dialog writes them).
bool WriteSlotKeys(int slot, const std::optional<std::string> &entry, const std::optional<std::string> &title);
// A section replaced whole by `text` ("key=value\0...\0\0", as SetSectionValues makes it) in
// one change, when that changes it. False when it could not be stored.
bool WriteProfileSection(const char *section, const std::string &text);
// Exchanges both keys of slots a and b as one change, writing even empty values.
// Nothing is written unless all four values were read whole (NotRead).
enum class SlotExchange { Done, NotRead, NotStored };
SlotExchange ExchangeProgramSlots(int a, int b);

// A key's text as stored, or nothing when the key is not there.
std::optional<std::string> ReadStoredText(const char *section, const char *key);
// The whole of a section in one read, as GetPrivateProfileSectionA gives it
// ("key=value\0...\0\0"), for ParseProfileSection.
std::string ReadProgramSection();
std::string ReadEnvironmentSection();
