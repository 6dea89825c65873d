// TAV.INI through the system's real profile functions, in the default locale and in code page 932.
#include <cstring>
#include <thread>

#include "ini/code_page_path.h"
#include "ini/profile_file.h"
#include "ini/section_rules.h"
#include "ini/settings.h"
#include "app/app_state.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// Saved as by a bar window at (7, 8).
void Save()
{
    const HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 7, 8, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SaveSettings(w, gSettings);
    DestroyWindow(w);
}

// What the reader hands over for each kind of hand edit (the rules applied to the numbers: host).
TEST(SettingsProfile, LoadSettingsFromFiles)
{
    const std::string sevens(3000, '7');
    const std::string system = std::to_string(DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0));
    // ini "-": no file; loaded: language, mode, maximum pages, page, columns x rows, cell, position.
    const struct { std::string ini, loaded; } cases[] = {
        {"-", system + " 0 1 1 5x1 38 0,0"},
        // Fifteen 7s of the position, then the reader's cut; 29 digits of the count, wrapped (-775480207).
        {"position=" + sevens + "," + sevens + "\r\nbuttons par page=" + sevens + "\r\nmode=0x8000\r\n",
         system + " 8000 1 1 1x5 38 32767,0"},
    };
    for (const auto &c : cases) {
        WriteIni(c.ini == "-" ? c.ini : "[environment section]\r\n" + c.ini + "[program section]\r\nmode=1\r\n");
        gSettings.languageOffset = 5;
        const BarPosition p = LoadSettings(true, gSettings);
        char loaded[96];
        std::snprintf(loaded, sizeof loaded, "%d %x %d %d %dx%d %d %d,%d", gSettings.languageOffset, gSettings.mode,
                      gSettings.maximumPages, gSettings.currentPage, gSettings.columns, gSettings.rows,
                      gSettings.cellSize, p.x, p.y);
        EXPECT_EQ(loaded, c.loaded) << c.ini.substr(0, 60);
    }
    WriteIni("-");
    LoadSettings(true, gSettings);
    EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES) << "reading created the file";
}

// For every key of hand-made files, cases and buffer sizes, the section read once answers as the reader does.
TEST(SettingsProfile, SectionLookupReadsAsTheProfileReader)
{
    std::string big(3000, 'v'), kanji, bulk;
    for (int i = 0; i < 1500; ++i)
        kanji += "\x95\x5C";  // a trail byte that is a backslash
    for (int i = 0; i < 25; ++i)  // past the first read's 64 KiB in bytes (in characters too, single-byte)
        bulk += "profile1" + std::to_string(10 + i) + "=" + kanji + "\r\n";
    const std::string files[] = {
        "[program section]\r\nprofile000=first\r\nPROFILE000=second\r\n  Profile001  =  blanks around  \r\n"
        "profile002=\"quoted\"\r\nprofile003='single'\r\nprofile004=\"open\r\nprofile005=\"\r\nprofile006=\"\"\r\n"
        "profile007=\r\nprofile008\r\nprofile008=after the line without =\r\nprofile009=\"a\"b\"\r\n"
        "profile010=x=y\r\nprofile011='mixed\"\r\n;profile012=commented out\r\n\r\nprofile013\t=\t\"\t\"\r\n"
        "[other]\r\nprofile014=elsewhere\r\n[Program Section]\r\nprofile014=second copy\r\nprofile000=third\r\n",
        "[program section]\r\nprofile000=" + big + "\r\nprofile001=\"" + big + "\"\r\nprofile002=" + kanji +
            "\r\nprofile003=a" + kanji + "\r\nprofile004=\"" + kanji + "\"\r\nprofile005=C:\\\x95\x5C\\a.exe,0,,b\r\n"
            "prof\x83\x41le006=\x83\x41\r\nPROF\x83\x61LE006=case of a trail byte\r\n" + bulk,
        "[other]\r\nprofile000=not in the section\r\n",
    };
    const auto leadByte = [](unsigned char c) { return IsDBCSLeadByte(c) != FALSE; };
    const std::size_t sizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 256, 2047, 2048, 2049, 3001};
    for (const std::string &file : files) {
        WriteIni(file);
        const std::string text = ReadProgramSection();
        const ProfileSection section = ParseProfileSection(text, leadByte);
        // Every name of the file (a comment's without its ';'), as written and in capitals.
        std::vector<std::string> keys{"missing"};
        for (std::size_t at = 0; at < file.size(); at = file.find("\r\n", at) + 2) {
            std::string name = file.substr(at, file.find_first_of("=\r", at) - at);
            name.erase(0, name.rfind(';', 0) == 0);
            if (!name.empty() && name[0] != '[')
                keys.insert(keys.end(), {name, CharUpperA(name.data())});
        }
        for (const std::string &key : keys)
            for (std::size_t size : sizes) {
                std::string expected(size, '\0'), viaKey(size, 'X');  // a buffer used before
                GetPrivateProfileStringA(kProgramSection, key.c_str(), "", expected.data(), size, kIniFile);
                ReadProgramKey(key.c_str(), viaKey.data(), static_cast<int>(size));
                ASSERT_EQ(ProfileValue(section, key, size, leadByte), expected.c_str())
                    << "key '" << key << "', buffer " << size;
                ASSERT_STREQ(viaKey.c_str(), expected.c_str());
                ASSERT_EQ(viaKey.find_first_not_of('\0', expected.size() > 0 ? std::strlen(viaKey.c_str()) : 0),
                          std::string::npos) << "nothing of the earlier text stays behind";
            }
    }
    WriteIni("-");
}

// A change keeps the file before it as TAV.BAK (none when nothing changes) and writes only what the bar changed:
// comments, hand-written spellings and keys it does not know stay. A file the user wrote is never put back.
TEST(SettingsProfile, ChangesKeepTheFileBeforeAndEveryLineTheBarDidNotChange)
{
    const std::string dir = IniPath().substr(0, IniPath().size() - 7), backup = dir + "TAV.BAK";
    const std::string before = "[environment section]\r\n; kept by hand\r\nmode=0x8000\r\nmaximum pages=02\r\n"
                               "startup page=1\r\nbuttons par page=6\r\nposition=7, 8\r\nfavourite=blue\r\n"
                               "[program section]\r\np0=a\r\n";
    DeleteFileA(backup.c_str());
    WriteIni(before);
    WriteProgramKey("p0", "a");
    WriteProgramKey("p1", nullptr);
    EXPECT_EQ(GetFileAttributesA(backup.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing changed, nothing written";
    LoadSettings(true, gSettings);
    Save();
    EXPECT_EQ(ReadFileText(IniPath()), before) << "every value reads as the bar holds it, no hot key as none";
    gSettings.columns = 9;
    gSettings.hotKey = {HotKeyCtrl | HotKeyAlt, 'T'};
    Save();
    std::string after = before;
    after.replace(after.find("par page=6"), 10, "par page=9");
    after.insert(after.find("[program"), "hot key=Ctrl+Alt+T\r\n");
    EXPECT_EQ(ReadFileText(IniPath()), after);
    EXPECT_EQ(ReadFileText(backup), before);
    // A hand edit, smaller than the backup and without a last line end, and what a killed writer left beside it.
    const std::string edit = "[program section]\r\np0=by hand";
    WriteIni(edit);
    for (const char *stray : {"TAV.NEW", "TAV.OLD"})
        ASSERT_TRUE(CopyFileA(backup.c_str(), (dir + stray).c_str(), FALSE));
    ClearInterruptedChange();
    EXPECT_EQ(ReadFileText(IniPath()), edit);
    for (const char *stray : {"TAV.NEW", "TAV.OLD"})
        EXPECT_EQ(GetFileAttributesA((dir + stray).c_str()), INVALID_FILE_ATTRIBUTES) << stray;
    WriteIni("-");
    DeleteFileA(backup.c_str());
}

// TAV.INI held unshared by another program: a start waits; held past the wait, the defaults never overwrite it.
TEST(SettingsProfile, AFileAnotherProgramHoldsIsNeverTakenForEmpty)
{
    for (const DWORD hold : {DWORD{1000}, kHeldProfileWaitMs + 1500}) {
        WriteIni("[environment section]\r\nmaximum pages=20\r\nmode=16384\r\n");
        const HANDLE held = CreateFileA(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread release([&] { Sleep(hold), CloseHandle(held); });
        LoadSettings(true, gSettings);
        const bool waited = hold < kHeldProfileWaitMs;
        EXPECT_EQ(gSettings.maximumPages, waited ? 20 : 1) << hold;
        release.join();
        Save();
        EXPECT_EQ(IniValue(kEnvironmentSection, "maximum pages") + " " + IniValue(kEnvironmentSection, "mode") + " " +
                      IniValue(kEnvironmentSection, "position"),
                  waited ? "20 16384 7,8" : "20 16384 <missing>") << hold;
    }
    WriteIni("-");
}

// The one reader of a whole file (TAV.INI, a backup to import) and the one conversion into the code page.
TEST(SettingsProfile, WholeFilesAndCodePageText)
{
    // A name no code page here holds; the file is read by it all the same.
    wchar_t temp[MAX_PATH] = {};
    const std::wstring dir(temp, GetTempPathW(MAX_PATH, temp));
    const struct { const wchar_t *name; const char *bytes; DWORD holdMs; } files[] = {
        {L"tav \u0101\u0e01.json", "{\"tav\": 1}", 0}, {L"tav empty.json", "", 0},
        // Held unshared by another program for a while: waited for, then read whole.
        {L"tav held.json", "[1, 2]", 400},
    };
    for (const auto &f : files) {
        const std::wstring file = dir + f.name;
        ASSERT_TRUE(WriteWholeFile(file, f.bytes, false)) << f.bytes;
        const HANDLE held = f.holdMs ? CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
        std::thread release([&] { Sleep(f.holdMs), held != INVALID_HANDLE_VALUE && CloseHandle(held); });
        const std::optional<std::string> text = ReadWholeFile(file);
        release.join();
        EXPECT_EQ(text.value_or("<unread>"), f.bytes);
        DeleteFileW(file.c_str());
    }
    EXPECT_FALSE(ReadWholeFile(dir + L"tav none.json"));  // not there: no empty file
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});

    // What the code page holds, or nothing: never a character replaced or a best-fit look-alike.
    const struct { const wchar_t *text; bool held; } texts[] = {
        {L"", true}, {L"C:\\a b.exe", true}, {L"\u00d7\u00a7", true},   // signs both Western and Japanese hold
        {L"\u0101", false}, {L"a\u0e01", false}, {L"\U0001F600", false}, // best fit "a"; Thai; beyond 16 bits
        {L"a\xD800" L"b", false}, {L"\xDC00", false},                    // a lone surrogate
    };
    for (const auto &t : texts) {
        const std::optional<std::string> text = CodePageExact(t.text);
        EXPECT_EQ(text.has_value(), t.held) << text.value_or("<none>");
        EXPECT_EQ(text ? WideFromCodePage(*text) : t.text, t.text) << "read back";
    }
}

} // namespace
