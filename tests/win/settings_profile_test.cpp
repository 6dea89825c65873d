// The settings and registry keys as the bar reads and writes them, against
// the system's real private-profile functions and a real TAV.INI in the
// Windows directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// A top-level window that records every "TAV_MESSAGE" it receives.
struct NoticeListener {
    HWND hwnd = nullptr;
    static inline std::vector<LPARAM> codes;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (gApp.changeNoticeId && m == gApp.changeNoticeId) {
            codes.push_back(l);
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }

    NoticeListener()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TavNoticeListener";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "listener", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               wc.hInstance, nullptr);
        codes.clear();
    }
    ~NoticeListener() { DestroyWindow(hwnd); }
};

class SettingsProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        gApp.changeNoticeId = RegisterWindowMessageA(kChangeNoticeName);
        gSettings = BarSettings{};
    }
    void TearDown() override { DeleteIni(); }
};

TEST_F(SettingsProfile, MissingFileReadsAsDefaults)
{
    DeleteIni();
    gSettings.languageOffset = 5;
    const BarPosition p = LoadSettings(true);
    const bool dbcs = GetSystemMetrics(SM_DBCSENABLED) != 0;
    EXPECT_EQ(gSettings.languageOffset, dbcs ? 0 : 1);
    EXPECT_EQ(gSettings.mode, 0u);
    EXPECT_EQ(gSettings.maximumPages, 1);
    EXPECT_EQ(gSettings.currentPage, 1);
    EXPECT_EQ(gSettings.cellSize, 38);
    EXPECT_EQ(gSettings.columns, 5);
    EXPECT_EQ(gSettings.rows, 1);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // Reading creates nothing.
    EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

struct FileCase {
    const char *what;
    const char *ini;
    int language, maxPages, page, columns, rows, cell, x, y;
    unsigned mode;
};

// What the text reader hands over for each kind of hand edit; the rules
// applied to the numbers are tested on the host.
const FileCase kFileCases[] = {
    {"ordinary", "[environment section]\r\nmode=0\r\nposition=100,200\r\nbuttons par page=8\r\nstartup page=2\r\n"
                 "maximum pages=3\r\nJapan=1\r\n",
     1, 3, 2, 8, 1, 38, 100, 200, 0},
    {"vertical small", "[environment section]\r\nmode=40960\r\nbuttons par page=8\r\n", 1, 1, 1, 1, 8, 30, 0, 0,
     0xA000},
    {"empty values", "[environment section]\r\nmode=\r\nbuttons par page=\r\nposition=\r\nmaximum pages=\r\n",
     1, 1, 1, 5, 1, 38, 0, 0, 0},
    {"garbage everywhere",
     "[environment section]\r\nmode=zz\r\nposition=left,top\r\nbuttons par page=many\r\nstartup page=x\r\n"
     "maximum pages=?\r\nJapan=yes\r\n",
     0, 1, 1, 5, 1, 38, 0, 0, 0},
    {"negative", "[environment section]\r\nbuttons par page=-3\r\nmaximum pages=-1\r\nstartup page=-9\r\n"
                 "position=-50,-60\r\nJapan=-1\r\n",
     1, 1, 1, 5, 1, 38, -50, -60, 0},
    {"huge", "[environment section]\r\nbuttons par page=99999999999\r\nmaximum pages=4000000000\r\n"
             "startup page=2000000000\r\nmode=4294967295\r\nposition=999999,-999999\r\n",
     1, 20, 20, 1, 20, 30, 32767, -32768, 0xFFFF},
    {"no environment section", "[program section]\r\nprofile000=a,0,,b\r\n", 1, 1, 1, 5, 1, 38, 0, 0, 0},
};

TEST_F(SettingsProfile, HandEditedFilesStayInRange)
{
    for (const FileCase &c : kFileCases) {
        SCOPED_TRACE(c.what);
        WriteIni(c.ini);
        gSettings = BarSettings{};
        const BarPosition p = LoadSettings(true);
        // "Japan" missing follows the system; the cases that set it say so.
        if (std::string(c.ini).find("Japan=") != std::string::npos) {
            EXPECT_EQ(gSettings.languageOffset, c.language);
        }
        EXPECT_EQ(gSettings.mode, c.mode);
        EXPECT_EQ(gSettings.maximumPages, c.maxPages);
        EXPECT_EQ(gSettings.currentPage, c.page);
        EXPECT_EQ(gSettings.columns, c.columns);
        EXPECT_EQ(gSettings.rows, c.rows);
        EXPECT_EQ(gSettings.cellSize, c.cell);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST_F(SettingsProfile, A3000CharacterValueIsCutSafely)
{
    const std::string big(3000, '7');
    WriteIni("[environment section]\r\nposition=" + big + "," + big + "\r\nbuttons par page=" + big + "\r\n");
    const BarPosition p = LoadSettings(true);
    EXPECT_EQ(p.x, 32767);  // fifteen 7s, then the cut
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(gSettings.columns * gSettings.rows, 20);
    LoadSettings(false);  // the reload's 256-byte buffer still holds only digits
    EXPECT_EQ(gSettings.columns * gSettings.rows, 20);
}

TEST_F(SettingsProfile, ReloadKeepsLanguageAndPage)
{
    WriteIni("[environment section]\r\nJapan=0\r\nstartup page=2\r\nmaximum pages=3\r\nbuttons par page=5\r\n");
    LoadSettings(true);
    ASSERT_EQ(gSettings.languageOffset, 0);
    ASSERT_EQ(gSettings.currentPage, 2);
    WriteIni("[environment section]\r\nJapan=1\r\nstartup page=1\r\nmaximum pages=3\r\nbuttons par page=8\r\n"
             "position=1,2345678901234567\r\n");
    const BarPosition p = LoadSettings(false);
    EXPECT_EQ(gSettings.languageOffset, 0);
    EXPECT_EQ(gSettings.currentPage, 2);
    EXPECT_EQ(gSettings.columns, 8);
    EXPECT_EQ(p.y, 32767);  // the reload reads the position whole
}

struct Window {
    HWND hwnd;
    Window(int x, int y)
    {
        hwnd = CreateWindowExA(0, "STATIC", "bar", WS_POPUP, x, y, 100, 40, nullptr, nullptr, nullptr, nullptr);
    }
    ~Window() { DestroyWindow(hwnd); }
};

TEST_F(SettingsProfile, SaveWritesTheFiveKeysThenAnnounces)
{
    WriteIni("[environment section]\r\nbuttons par page=25\r\nJapan=1\r\nmode=2047\r\n");
    LoadSettings(true);
    gSettings.currentPage = 1;
    Window w(-20, 345);
    NoticeListener listener;
    SaveSettings(w.hwnd);
    EXPECT_EQ(IniValue(kEnvironmentSection, "mode"), "2047");
    EXPECT_EQ(IniValue(kEnvironmentSection, "startup page"), "1");
    EXPECT_EQ(IniValue(kEnvironmentSection, "maximum pages"), "1");
    EXPECT_EQ(IniValue(kEnvironmentSection, "buttons par page"), "20");
    EXPECT_EQ(IniValue(kEnvironmentSection, "position"), "-20,345");
    EXPECT_EQ(IniValue(kEnvironmentSection, "Japan"), "1");  // never written, left as it was
    ASSERT_EQ(NoticeListener::codes.size(), 1u);
    EXPECT_EQ(NoticeListener::codes[0], 0);

    // The keys come in the order the bar writes them, after the ones that were there.
    const std::string text = ReadIni();
    const auto at = [&](const char *k) { return text.find(k); };
    EXPECT_LT(at("buttons par page="), at("startup page="));
    EXPECT_LT(at("startup page="), at("maximum pages="));
    EXPECT_LT(at("maximum pages="), at("position="));
}

TEST_F(SettingsProfile, VerticalGridOfEightSavesEight)
{
    DeleteIni();
    gSettings.mode = Vertical;
    gSettings.columns = 1;
    gSettings.rows = 8;
    Window w(0, 0);
    SaveSettings(w.hwnd);
    EXPECT_EQ(IniValue(kEnvironmentSection, "buttons par page"), "8");
    EXPECT_EQ(IniValue(kEnvironmentSection, "mode"), "32768");
}

TEST_F(SettingsProfile, ProgramKeysAreCutAtTheReadersBuffer)
{
    DeleteIni();
    const std::string value = "C:\\A.EXE,0,," + std::string(3000, 'x');
    WriteProgramKey(ProfileKey(8).c_str(), value.c_str());
    WriteProgramKey(TitleKey(8).c_str(), "");
    char big[2048], small[256];
    EXPECT_EQ(ReadProgramKey("profile008", big, sizeof big), 2047);
    EXPECT_EQ(std::string(big), value.substr(0, 2047));
    EXPECT_EQ(ReadProgramKey("profile008", small, sizeof small), 255);
    // An empty title is a key with an empty value; a missing one reads the same.
    EXPECT_EQ(IniValue(kProgramSection, "Title008"), "");
    // A buffer used before is wholly cleared: nothing of the earlier value stays behind the new one.
    EXPECT_EQ(ReadProgramKey("Title009", small, sizeof small), 0);
    EXPECT_EQ(std::string(small, sizeof small), std::string(sizeof small, '\0'));
    WriteProgramKey("profile008", nullptr);
    EXPECT_EQ(IniValue(kProgramSection, "profile008"), "<missing>");
}

} // namespace
