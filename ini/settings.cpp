#include "ini/settings.h"

#include "winkit/module.h"
#include "ini/code_page_text.h"
#include "ini/program_entry.h"

#include <algorithm>
#include <string>
#include <vector>


BarSettings gSettings;
ProfileState gProfile;

static long long ReadInt(const std::string &file, const char *key, int def)
{
    // Read as text and converted by ProfileInt, which reads it as the profile reader's integer
    // form does; the text is kept, so a save can tell a value the bar did not change.
    char text[kIntegerBuffer] = {};
    GetPrivateProfileStringA(kEnvironmentSection, key, "", text, sizeof text, file.c_str());
    return ProfileInt(text, def);
}

int LoadLanguageOffset()
{
    const int def = DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0);
    return LanguageOffsetFromJapan(ReadInt(ProfilePath(), kKeyJapan, def));
}

BarPosition LoadSettings(bool startup, BarSettings &settings)
{
    // What is read of a file another program holds is nothing at all, which would pass for
    // every default: a start then keeps the defaults without ever saving them. (A reload
    // reads only a file it found readable.)
    gProfile.settingsLoaded = !startup || ProfileReadable();
    const std::string file = ProfilePath();  // looked for once, not at every key
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
    char hotKey[kHotKeyBuffer] = {};
    GetPrivateProfileStringA(kEnvironmentSection, kKeyHotKey, "", hotKey, sizeof hotKey, file.c_str());
    raw.hotKey = hotKey;
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
    bool stored = false;
    {
        // Read and written in one hold of the lock, so no other writer's change falls between.
        const ProfileLock lock;
        // A key is written only when the bar holds another value than its stored text reads as;
        // a missing or empty key is always written.
        const auto reads = [](const char *key, std::size_t buffer) {
            std::optional<std::string> text = ReadStoredText(kEnvironmentSection, key);
            if (text)
                text->resize(std::min(text->size(), buffer - 1));
            return text && !text->empty() ? text : std::nullopt;
        };
        std::vector<KeyWrite> writes;
        const auto put = [&](const char *key, long long value) {
            const auto text = reads(key, kIntegerBuffer);
            if (!text || ProfileInt(text->c_str(), 0) != value)
                writes.push_back({kEnvironmentSection, key, std::to_string(value)});
        };
        put(kKeyMode, settings.mode);
        put(kKeyStartupPage, settings.currentPage);
        put(kKeyMaximumPages, settings.maximumPages);
        put(kKeyButtonsPerPage, ButtonsPerPageToSave(settings));
        const auto position = reads(kKeyPosition, kStartupPositionBuffer);
        const BarPosition was = position ? ParsePosition(position->c_str()) : BarPosition{};
        if (!position || was.x != r.left || was.y != r.top)
            writes.push_back({kEnvironmentSection, kKeyPosition, FormatPosition(r.left, r.top)});
        // Missing, "none" and a spelling the bar cannot read all mean no hot key: a bar that never had
        // one leaves the key, and the file, as they are.
        const auto hotKey = reads(kKeyHotKey, kHotKeyBuffer);
        if (ParseHotKey(hotKey ? *hotKey : "").value_or(HotKey{}) != settings.hotKey)
            writes.push_back({kEnvironmentSection, kKeyHotKey, FormatHotKey(settings.hotKey)});
        stored = lock.Held() && WriteProfileKeys(writes);
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
