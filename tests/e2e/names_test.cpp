// The real TAV.EXE with names as the file system has them: names the code page
// cannot write, commas in paths, entries longer than the dialog's fields, and
// many files dropped at once. Run in the English code page and again in the
// Japanese one, where Japanese names are written as they stand.
#include <shlobj.h>

#include <algorithm>

#include "app/code_page_path.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

const char kPrograms[] = "program section";

// A folder of real files under the temporary folder, removed with the test.
class Names : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        dir_ = temp + std::wstring(L"tav names e2e");
        TearDownFolder();
        CreateDirectoryW(dir_.c_str(), nullptr);
    }
    void TearDown() override
    {
        BarTest::TearDown();
        TearDownFolder();
    }
    // `name` under the folder, its own folder made first; a copy of the probe, or an empty file.
    std::wstring Make(const std::wstring &name, bool probe = false)
    {
        const std::wstring path = dir_ + L"\\" + name;
        CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        if (probe)
            CopyFileW(WideFromCodePage(ProbePath()).c_str(), path.c_str(), FALSE);
        else
            CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        return path;
    }
    std::wstring dir_;

private:
    void TearDownFolder()
    {
        std::wstring from = dir_ + L'\0';
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }
};

std::wstring LongPath(const std::string &path)
{
    std::wstring text(32768, L'\0');
    text.resize(GetLongPathNameW(WideFromCodePage(path).c_str(), text.data(), static_cast<DWORD>(text.size())));
    return text;
}

// The message box that comes up owned by `owner`: its text, once `button` has closed it.
std::wstring AnswerBox(HWND owner, int button)
{
    const HWND box = WaitForDialog(owner, [](HWND b) { return GetWindowTextLengthW(GetDlgItem(b, 0xFFFF)) > 0; });
    std::wstring text(1024, L'\0');
    text.resize(GetDlgItemTextW(box, 0xFFFF, text.data(), static_cast<int>(text.size())));
    PostMessageA(box, WM_COMMAND, button, 0);
    PumpUntil([&] { return !IsWindow(box); });
    return text;
}

TEST_F(Names, DroppedNamesAreWrittenAsTheFileSystemKnowsThem)
{
    const bool ja = GetACP() == 932;
    const ProbeLog log;
    const HWND bar = Start("-");
    ASSERT_TRUE(bar);
    const std::wstring japanese = Make(L"\u65e5\u672c\u8a9e\\probe.exe", true),
                       comma = Make(L"My,Docs\\probe.exe", true), document = Make(L"\u65e5\u672c.txt");
    // Registered: each entry names its file by a path the code page can write and a comma does not end.
    for (const auto &[id, file] : {std::pair{1000, japanese}, {1001, comma}}) {
        ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, id), {file}));
        const std::string key = "profile00" + std::to_string(id - 1000);
        std::string value;
        ASSERT_TRUE(PumpUntil([&] { return (value = IniValue(kPrograms, key.c_str())) != "<missing>"; }));
        const std::string path = value.substr(0, value.find(','));
        EXPECT_EQ(value, path + ",0,,\"" + path + "\"");
        EXPECT_EQ(LongPath(path), file) << value;
        EXPECT_EQ(WideFromCodePage(path) == file, ja && id == 1000) << "as it stands only where it can be";
    }
    // A click starts the one, the document dropped on either starts it with a name of the document.
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), LPARAM(GetDlgItem(bar, 1000)));
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1000), {document}));
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1001), {document}));
    int withDocument = 0;
    for (ProbeRecord r : log.WaitFor(3)) {
        // The argument is the last quoted text (a program path with spaces is quoted too).
        const std::string line = r["cmdline"];
        const size_t end = line.rfind('"'), start = end == std::string::npos ? end : line.rfind('"', end - 1);
        withDocument += start != std::string::npos && LongPath(line.substr(start + 1, end - start - 1)) == document;
    }
    EXPECT_EQ(log.WaitFor(3).size(), 3u);
    EXPECT_EQ(withDocument, 2);
    // A name the code page cannot write, of no file (so without a short name): the box names it.
    const std::wstring gone = dir_ + L"\\gone\u0101.exe";
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1002), {gone}));
    const std::wstring told = AnswerBox(bar, IDOK);
    EXPECT_EQ(told.substr(told.size() - std::min(told.size(), gone.size())), gone);
    EXPECT_EQ(IniValue(kPrograms, "profile002"), "<missing>");
}

TEST_F(Names, TheDialogKeepsWholeFieldsAndAFieldThatWouldEndEarlyKeepsItOpen)
{
    // Stored by a drop: longer than what the dialog's fields take from typing.
    const std::string stored = "C:\\" + std::string(140, 'd') + "\\x.exe", value = stored + ",0,,\"" + stored + "\"";
    const HWND bar = Start(std::string("[program section]\r\nprofile000=") + value + "\r\n");
    ASSERT_TRUE(bar);
    const auto open = [&] {
        PostMessageA(GetDlgItem(bar, 1000), WM_RBUTTONDOWN, 0, 0);
        return WaitForDialog(bar, [](HWND d) { return IsWindowVisible(d) && GetDlgItem(d, 1006); });
    };
    HWND d = open();
    ASSERT_TRUE(d);
    for (int id : {1006, 1009, 1007, 1012})
        EXPECT_EQ(SendDlgItemMessageA(d, id, EM_GETLIMITTEXT, 0, 0), 127) << id;
    SetDlgItemTextA(d, 1012, "Long");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
    EXPECT_EQ(IniValue(kPrograms, "profile000") + "|" + IniValue(kPrograms, "Title000"), value + "|Long");

    // A directory and an icon file with a comma: their short paths, or no OK without them.
    const std::wstring folder = Make(L"My,Docs\\probe.exe", true), icon = Make(L"One,Icon.ico");
    const std::wstring chosen = Make(std::wstring(130, L'p') + L"\\probe.exe", true);
    ASSERT_TRUE(d = open());
    SetDlgItemTextW(d, 1009, folder.substr(0, folder.rfind(L'\\')).c_str());
    SetDlgItemTextW(d, 1007, (dir_ + L"\\Gone,Icon.ico").c_str());
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(d)) << "an icon file of no file, with a comma";
    SetDlgItemTextW(d, 1007, icon.c_str());
    // Browse: the chooser gives a path longer than can be typed, quoted whole in the program field.
    PostMessageA(d, WM_COMMAND, 1001, 0);
    const HWND chooser = WaitForDialog(d, [](HWND c) { return IsWindowVisible(c) && GetDlgItem(c, IDOK); });
    ASSERT_TRUE(chooser);
    SetDlgItemTextW(chooser, GetDlgItem(chooser, 0x47c) ? 0x47c : 0x480, chosen.c_str());
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(chooser); }));
    SetDlgItemTextW(d, 1007, icon.c_str());  // the interlock box set it to the chosen program
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
    const std::string entry = IniValue(kPrograms, "profile000");
    const size_t a = entry.find(','), b = entry.find(',', a + 1), c = entry.find(',', b + 1);
    EXPECT_EQ(LongPath(entry.substr(0, a)), icon) << entry;
    EXPECT_EQ(LongPath(entry.substr(b + 1, c - b - 1)), folder.substr(0, folder.rfind(L'\\')));
    EXPECT_EQ(WideFromCodePage(entry.substr(c + 1)), L"\"" + chosen + L"\"");
}

TEST_F(Names, ManyDroppedFilesStartOnlyOnceAgreedAndTheBarKeepsAnswering)
{
    const bool ja = GetACP() == 932;
    const ProbeLog log;
    const std::string probe = ProbePath();
    const HWND bar = Start("[program section]\r\nprofile000=" + probe + ",0,,\"" + probe + "\"\r\n");
    ASSERT_TRUE(bar);
    const HWND slot = GetDlgItem(bar, 1000);
    const auto files = [](int n, const char *stem) {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.push_back("C:\\" + std::string(stem) + std::to_string(i) + ".txt");
        return names;
    };
    // Sixteen start without a question; of seventeen, none when the answer is No.
    ASSERT_TRUE(PostDrop(slot, files(16, "few")));
    ASSERT_EQ(log.WaitFor(16).size(), 16u);
    ASSERT_TRUE(PostDrop(slot, files(17, "refused")));
    EXPECT_EQ(AnswerBox(bar, IDNO), ja ? L"17 \u500b\u306e\u30d5\u30a1\u30a4\u30eb\u3067\u3001\u30d7\u30ed\u30b0\u30e9"
                                         L"\u30e0\u3092 1 \u500b\u305a\u3064\u8d77\u52d5\u3057\u307e\u3059\u304b?"
                                       : L"Start the program once for each of the 17 files?");
    ASSERT_TRUE(PostDrop(slot, files(1, "single")));
    ASSERT_TRUE(PumpUntil([&] {
        const auto r = log.WaitFor(17, 0);
        const auto single = [](ProbeRecord p) { return p["cmdline"].find("single0") != std::string::npos; };
        return std::any_of(r.begin(), r.end(), single);
    }, 10000));
    EXPECT_EQ(log.WaitFor(17, 0).size(), 17u) << "none of the refused";
    // Agreed: the bar answers while they start, and closes meanwhile without harm.
    ASSERT_TRUE(PostDrop(slot, files(60, "agreed")));
    EXPECT_FALSE(AnswerBox(bar, IDYES).empty());
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer)) << "busy starting";
    EXPECT_EQ(bar_->Close(), 0);
}

} // namespace
