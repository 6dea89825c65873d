// TAV.INI through the system's real profile functions, and the string table
// as the bar loads it. Run twice: in the default locale and under a Japanese
// one (code page 932), where double-byte text is cut and converted.
#include <gtest/gtest.h>

#include "app/profile_section.h"
#include "app/settings.h"
#include "support/bar_driver.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

struct FileCase {
    const char *what;
    std::string ini;  // "-": no file at all
    int language;     // -1: the system's default
    int maxPages, page, columns, rows, cell, x, y;
    unsigned mode;
};

// What the reader hands over for each kind of hand edit; the rules applied
// to the numbers are pinned on the host.
TEST(SettingsProfile, LoadSettingsFromFiles)
{
    const std::string sevens(3000, '7');
    const FileCase cases[] = {
        {"no file", "-", -1, 1, 1, 5, 1, 38, 0, 0, 0},
        {"every key", "mode=40960\r\nposition=100,200\r\nbuttons par page=8\r\nstartup page=2\r\nmaximum pages=3\r\n"
                      "Japan=0\r\n", 0, 3, 2, 1, 8, 30, 100, 200, 0xA000},
        {"empty values", "mode=\r\nbuttons par page=\r\nposition=\r\nmaximum pages=\r\nJapan=\r\n", -1, 1, 1, 5, 1, 38, 0, 0, 0},
        {"not numbers", "mode=zz\r\nposition=left,top\r\nbuttons par page=many\r\nmaximum pages=?\r\nJapan=yes\r\n",
         0, 1, 1, 1, 1, 38, 0, 0, 0},
        {"huge", "buttons par page=99999999999\r\nmaximum pages=4000000000\r\nstartup page=2000000000\r\n"
                 "mode=4294967295\r\nposition=999999,-999999\r\n", -1, 20, 20, 1, 20, 30, 32767, -32768, 0xFFFF},
        // Fifteen 7s of the position, then the reader's cut; 31 digits of the count.
        {"3000 characters", "position=" + sevens + "," + sevens + "\r\nbuttons par page=" + sevens + "\r\n",
         -1, 1, 1, 20, 1, 38, 32767, 0, 0},
    };
    for (const FileCase &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.ini == "-")
            DeleteIni();
        else
            WriteIni("[environment section]\r\n" + c.ini + "[program section]\r\nmode=1\r\n");
        gSettings = BarSettings{};
        gSettings.languageOffset = 5;
        const BarPosition p = LoadSettings(true);
        if (c.ini == "-") {
            EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES) << "reading created the file";
        }
        const int system = DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0);
        EXPECT_EQ(gSettings.languageOffset, c.language < 0 ? system : c.language);
        EXPECT_EQ(gSettings.mode, c.mode);
        EXPECT_EQ(gSettings.maximumPages, c.maxPages);
        EXPECT_EQ(gSettings.currentPage, c.page);
        EXPECT_EQ(gSettings.columns, c.columns);
        EXPECT_EQ(gSettings.rows, c.rows);
        EXPECT_EQ(gSettings.cellSize, c.cell);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
    DeleteIni();
}

TEST(SettingsProfile, SaveWritesTheFiveKeysThenAnnounces)
{
    WriteIni("[environment section]\r\nbuttons par page=25\r\nJapan=1\r\nmode=32768\r\n");
    gChangeNoticeId = RegisterWindowMessageA(kChangeNoticeName);
    LoadSettings(true);
    HWND w = CreateWindowExA(0, "STATIC", "bar", WS_POPUP, -20, 345, 100, 40, nullptr, nullptr, nullptr, nullptr);
    NoticeRecorder notices;
    SaveSettings(w);
    DestroyWindow(w);
    const std::string text = ReadIni();
    // Each key once, in the order written, after the ones that were there; "Japan" stays as it was.
    EXPECT_NE(text.find("Japan=1\r\nmode=32768\r\nstartup page=1\r\nmaximum pages=1\r\nposition=-20,345\r\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("buttons par page=20\r\n"), std::string::npos) << "the larger of 1 column and 20 rows";
    EXPECT_EQ(notices.Codes(), (std::vector<LPARAM>{0}));
    DeleteIni();
}

bool SystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

// For every key of hand-made files, in several cases and buffer sizes, the
// lookup in the section read once gives what the reader gives for that key.
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
    const std::size_t sizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 256, 2047, 2048, 2049, 3001};
    for (const std::string &file : files) {
        WriteIni(file);
        const std::string text = ReadProgramSection();
        const ProfileSection section = ParseProfileSection(text, SystemLeadByte);
        // Every name of the file (a comment's without its ';'), as written and in capitals.
        std::vector<std::string> keys{"missing"};
        for (std::size_t at = 0; at < file.size(); at = file.find("\r\n", at) + 2) {
            std::string name = file.substr(at, file.find_first_of("=\r", at) - at);
            if (!name.empty() && name[0] != '[') {
                if (name[0] == ';')
                    name.erase(0, 1);
                keys.push_back(name);
                CharUpperA(name.data());
                keys.push_back(name);
            }
        }
        for (const std::string &key : keys)
            for (std::size_t size : sizes) {
                std::string expected(size, '\0'), viaKey(size, '\0');
                GetPrivateProfileStringA(kProgramSection, key.c_str(), "", expected.data(), size, kIniFile);
                ReadProgramKey(key.c_str(), viaKey.data(), static_cast<int>(size));
                ASSERT_EQ(ProfileValue(section, key, size, SystemLeadByte), expected.c_str())
                    << "key '" << key << "', buffer " << size;
                ASSERT_STREQ(viaKey.c_str(), expected.c_str());
            }
    }
    // A key written and deleted through the bar's own writer.
    WriteProgramKey("Title008", "");
    EXPECT_EQ(IniValue(kProgramSection, "Title008"), "");
    WriteProgramKey("Title008", nullptr);
    EXPECT_EQ(IniValue(kProgramSection, "Title008"), "<missing>");
    DeleteIni();
}

TEST(SettingsProfile, StringsReachTheBarInTheSystemCodePage)
{
    // Stored whole (checked in UTF-16), then loaded in the ANSI code page by language.
    wchar_t wide[64] = {};
    LoadStringW(GetModuleHandleA(nullptr), IDS_MULTI_DROP, wide, 64);
    EXPECT_EQ(std::wstring(wide), L"複数ファイルの一括登録はサポートされていません");
    char ansi[64] = {}, loaded[64] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
    gSettings.languageOffset = 0;
    LoadTavString(GetModuleHandleA(nullptr), IDS_MULTI_DROP, loaded, sizeof loaded);
    EXPECT_STREQ(loaded, ansi);
    gSettings.languageOffset = 1;
    LoadTavString(GetModuleHandleA(nullptr), IDS_MULTI_DROP, loaded, sizeof loaded);
    EXPECT_STREQ(loaded, "Multi files register mode cannot support");
}

} // namespace
