#include "ini/settings.h"

#include "ini/change_notice.h"
#include "ini/code_page_path.h"
#include "ini/code_page_rules.h"
#include "ini/section_rules.h"
#include "ini/entry_rules.h"

#include <algorithm>
#include <string>
#include <vector>


BarPosition LoadSettings(bool startup, BarSettings &settings, const std::string *environment)
{
    // What is read of a file another program holds is nothing at all, which would pass for
    // every default: a start then keeps the defaults without ever saving them. (A reload
    // reads only a file it found readable.)
    settings.fromFile = !startup || ProfileReadable();
    // The section in one read, each key looked up as the profile reader reads it alone: every
    // read of the file costs a reload more than all the look-ups.
    const std::string read = environment ? std::string() : ReadEnvironmentSection();
    const ProfileSection section = ParseProfileSection(environment ? *environment : read, IsSystemLeadByte);
    const auto value = [&](const char *key, std::size_t size) {
        return ProfileValue(section, key, size, IsSystemLeadByte);
    };
    // Read as text and converted by ProfileInt, which reads it as the profile reader's integer
    // form does; the text is kept, so a save can tell a value the bar did not change.
    const auto number = [&](const char *key, int def) { return ProfileInt(value(key, kIntegerBuffer).c_str(), def); };
    RawSettings raw;
    if (startup)
        raw.japan = number(kKeyJapan, DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0));
    raw.mode = number(kKeyMode, kDefaultMode);
    raw.maximumPages = number(kKeyMaximumPages, kDefaultMaximumPages);
    if (startup)
        raw.startupPage = number(kKeyStartupPage, kDefaultStartupPage);
    raw.buttonsPerPage = number(kKeyButtonsPerPage, kDefaultButtonsPerPage);
    raw.position = value(kKeyPosition, startup ? kStartupPositionBuffer : kReloadPositionBuffer);
    raw.hotKey = value(kKeyHotKey, kHotKeyBuffer);
    return ApplyRawSettings(raw, startup, settings);
}

bool SaveSettings(HWND bar, const BarSettings &settings)
{
    if (!settings.fromFile)
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
    if (!stored)
        return false;
    BroadcastChangeNotice(NoticeChanged);
    return true;
}
