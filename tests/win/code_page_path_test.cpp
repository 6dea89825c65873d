// Dropped and chosen names written down in the system code page, for real files
// and folders: run in the English code page (1252) and again in the Japanese
// one (932), where Japanese names can be written as they stand.
#include "app/code_page_path.h"
#include "support/win_test.h"

namespace {

std::wstring LongPath(const std::wstring &path)
{
    std::wstring text(32768, L'\0');
    text.resize(GetLongPathNameW(path.c_str(), text.data(), static_cast<DWORD>(text.size())));
    return text;
}

TEST(CodePagePath, AWrittenNameNamesTheFileItCameFrom)
{
    const bool ja = GetACP() == 932;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = temp + std::wstring(L"tav names"), japanese = dir + L"\\\u65e5\u672c\u8a9e",
                       comma = dir + L"\\My,Docs", deep = dir + L"\\" + std::wstring(70, L'f');
    for (const std::wstring &folder : {dir, japanese, comma, deep})
        CreateDirectoryW(folder.c_str(), nullptr);
    // U+0101 has no form in either code page; best fit would write "xay.txt", another file's name.
    const std::wstring files[] = {japanese + L"\\a.exe", comma + L"\\a.exe", dir + L"\\x\u0101y.txt",
                                  deep + L"\\a.exe"};
    for (const std::wstring &file : files)
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    const struct {
        std::wstring name;
        PathUse use;
        bool asItStands;
        PathRefusal refusal;
        std::size_t longest = SIZE_MAX;
    } cases[] = {
        {files[0], PathUse::EntryField, ja, PathRefusal::None},
        {files[1], PathUse::Argument, true, PathRefusal::None},
        {files[1], PathUse::EntryField, false, PathRefusal::None},
        {files[2], PathUse::Argument, false, PathRefusal::None},
        {files[3], PathUse::Argument, false, PathRefusal::None, 80},
        {dir + L"\\gone,x.exe", PathUse::EntryField, false, PathRefusal::HasDelimiter},
        {dir + L"\\gone\u0101.exe", PathUse::Argument, false, PathRefusal::NotInCodePage},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases));
        const CodePagePath spelled = SpellPath(c.name, c.use, c.longest);
        EXPECT_EQ(spelled.refusal, c.refusal);
        if (c.refusal != PathRefusal::None)
            continue;
        const std::wstring back = WideFromCodePage(spelled.path);
        EXPECT_EQ(back == c.name, c.asItStands);
        EXPECT_EQ(LongPath(back), c.name) << "names the same file";
        EXPECT_LE(spelled.path.size(), c.longest);
    }
    for (const std::wstring &file : files)
        DeleteFileW(file.c_str());
    for (const std::wstring &folder : {deep, comma, japanese, dir})
        RemoveDirectoryW(folder.c_str());
}

} // namespace
