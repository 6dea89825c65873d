// The string table in both languages, as the bar loads it. Run twice: in
// the default locale and under a Japanese one (code page 932).
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/settings.h"

namespace {

std::string Load(unsigned base, int languageOffset, int size = 64)
{
    gSettings.languageOffset = languageOffset;
    std::string buf(size, '\0');
    const int n = LoadTavString(GetModuleHandleA(nullptr), base, buf.data(), size);
    return buf.substr(0, n);
}

// The text in the current ANSI code page, as LoadStringA would give it.
std::string Ansi(const wchar_t *text)
{
    char buf[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

struct StringCase {
    unsigned base;
    const wchar_t *japanese;
    const char *english;
};

const StringCase kStrings[] = {
    {IDS_EXECUTE_TITLE, L"アプリケーションの実行", "Execute Application"},
    {IDS_BROWSE_PROGRAM, L"プログラムの参照", "Browse Program"},
    {IDS_BROWSE_ICON, L"アイコンファイルの参照", "Browse Icon File Name"},
    {IDS_PAGE_RANGE, L"ページ数が多すぎます", "Page range over"},
    {IDS_CORNER_NONE, L"(設定しない)", "(Do not set)"},
    {IDS_CORNER_UPPER_LEFT, L"左上", "Upper left"},
    {IDS_CORNER_UPPER_RIGHT, L"右上", "Upper right"},
    {IDS_CORNER_LOWER_LEFT, L"左下", "Lower left"},
    {IDS_CORNER_LOWER_RIGHT, L"右下", "Lower right"},
    {IDS_HORIZONTAL, L"横方向", "Horizontally"},
    {IDS_VERTICAL, L"縦方向", "Vertically"},
    {IDS_EXECUTE_ERROR, L"実行に失敗しました", "Execute error"},
    {IDS_MULTI_DROP, L"複数ファイルの一括登録はサポートされていません", "Multi files register mode cannot support"},
};

TEST(Strings, BothLanguages)
{
    for (const StringCase &c : kStrings) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(Load(c.base, 1), c.english);
        // The Japanese text is stored whole (checked in UTF-16, whatever the code page) ...
        wchar_t wide[128] = {};
        LoadStringW(GetModuleHandleA(nullptr), c.base, wide, 128);
        EXPECT_EQ(std::wstring(wide), c.japanese);
        // ... and reaches the bar in the system's ANSI code page.
        EXPECT_EQ(Load(c.base, 0), Ansi(c.japanese));
    }
}

TEST(Strings, PlatformLineIsOneIdForBoth)
{
    char buf[64] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_PLATFORM, buf, sizeof buf);
    EXPECT_STREQ(buf, "for Microsoft Windows NT");
}

TEST(Strings, ExecuteTitleFitsItsSmallBuffer)
{
    // Ids 1 and 2 are loaded into 32 bytes; the cut is the loader's, never an overrun.
    EXPECT_EQ(Load(IDS_EXECUTE_TITLE, 1, 32), "Execute Application");
    EXPECT_LE(Load(IDS_EXECUTE_TITLE, 0, 32).size(), 31u);
}

TEST(Strings, JapaneseSystemDefaultsToJapanese)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "runs in the Japanese-locale variant of this test";
    EXPECT_NE(GetSystemMetrics(SM_DBCSENABLED), 0);
    EXPECT_EQ(Load(IDS_EXECUTE_ERROR, 0), "\x8e\xc0\x8d\x73\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd");
    EXPECT_EQ(DefaultJapan(GetSystemMetrics(SM_DBCSENABLED) != 0), 0);
}

} // namespace
