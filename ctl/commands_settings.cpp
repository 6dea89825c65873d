#include "ctl/commands.h"

#include <windows.h>

#include <iterator>
#include <optional>
#include <string>

#include "ctl/bar_file.h"
#include "ctl/console.h"
#include "ctl/storable.h"
#include "ini/change_notice.h"
#include "ini/settings.h"

namespace tavctl {

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunKeyW[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"TAV!";

// A hot key another program holds is stored all the same, for the bar's next start: said as the bar says it.
// Tried before the bar reloads, so a bar holding the key it read (`before`) is not taken for another program.
std::string HotKeyHeldElsewhere(const SettingValue &setting, HotKey before)
{
    const HotKey hotKey = ParseHotKey(setting.stored).value_or(HotKey{});
    if (setting.key != std::string_view(kKeyHotKey) || !hotKey.key ||
        (hotKey == before && FindWindowA(kBarClassName, kBarTitle)))
        return "";
    if (RegisterHotKey(nullptr, 1, hotKey.modifiers | MOD_NOREPEAT, hotKey.key)) {
        UnregisterHotKey(nullptr, 1);
        return "";
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED
               ? " (another program holds this hot key: the bar takes it at its next start)"
               : "";
}

} // namespace

int Set(const CtlRequest &request)
{
    std::optional<SettingValue> setting;
    HotKey before;
    const Outcome outcome = UnderLock([&]() -> Outcome {
        BarFile file;
        ReadBarFile(file);
        std::string error;
        setting = SettingToStore(request.operands[0], request.operands[1], file.pages, error);
        before = file.hotKey;
        if (!setting)
            return Refused(ExitBadInput, error);
        if (!ReadsBackAsGiven(setting->stored, setting->key, error))
            return Refused(ExitBadInput, error);
        if (!WriteProfileKey(kEnvironmentSection, setting->key, setting->stored.c_str()))
            return Refused(ExitNotStored, NotStored());
        return {ExitDone, "", true};
    });
    if (outcome.code != ExitDone)
        return Finish(outcome, "");
    const std::string_view key = setting->key;
    const bool atNextStart = key == kKeyJapan || key == kKeyStartupPage;
    return Finish(outcome, Line(std::string(key) + " = " + setting->stored +
                                (atNextStart && FindWindowA(kBarClassName, kBarTitle)
                                     ? " (the running bar takes it at its next start)"
                                     : HotKeyHeldElsewhere(*setting, before))));
}

int Autostart(const CtlRequest &request)
{
    const std::string where = std::string("HKEY_CURRENT_USER\\") + kRunKey;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyW, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return Fail(ExitNotStored, "cannot open " + where);
    int code = ExitDone;
    if (request.operands[0] == "on") {
        wchar_t self[MAX_PATH * 4] = {};
        const DWORD n = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
        std::wstring bar = std::wstring(self, n);
        bar = bar.substr(0, bar.find_last_of(L'\\') + 1) + L"TAV.EXE";
        const std::wstring value = L"\"" + bar + L"\"";
        if (GetFileAttributesW(bar.c_str()) == INVALID_FILE_ATTRIBUTES)
            code = Fail(ExitBadInput, "no TAV.EXE beside tavctl.exe (" + Utf8From(bar) + ")");
        else if (RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            code = Fail(ExitNotStored, "cannot write " + where);
        else
            Say(where + "\\TAV! = " + Utf8From(value));
    } else {
        const LONG result = RegDeleteValueW(key, kRunValue);
        if (result == ERROR_SUCCESS)
            Say(where + "\\TAV! removed");
        else if (result == ERROR_FILE_NOT_FOUND)
            Say(where + " holds no TAV!: nothing to remove");
        else
            code = Fail(ExitNotStored, "cannot remove TAV! from " + where);
    }
    RegCloseKey(key);
    return code;
}

} // namespace tavctl
