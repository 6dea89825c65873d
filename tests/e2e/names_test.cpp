// The real TAV.EXE in the English and the Japanese code page: names the code page cannot write, dropped shortcuts
// (stored as they are, showing their target's icon or their own icon location; how they start: launch_test), bare
// program names, commas in paths, entries longer than the dialog's fields, many files dropped at once.
#include <cstdlib>

#include "ini/code_page_path.h"
#include "support/probe_log.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

using Names = BarTest;
const char kPrograms[] = "program section";
const std::wstring kDir = WideFromCodePage(std::getenv("TEMP")) + L"\\tav names";

// `name` in that folder, in a folder of its own or none: a copy of the probe, or an empty file.
std::wstring Make(const std::wstring &name, bool probe = false)
{
    const std::wstring path = kDir + L"\\" + name;
    CreateDirectoryW(kDir.c_str(), nullptr);
    CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    probe ? CopyFileW(WideFromCodePage(ProbePath()).c_str(), path.c_str(), FALSE)
          : CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return path;
}

// Whether `path` (in the code page) names a file or folder: one of a "?" or a look-alike does not.
bool NamesAFile(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string SystemReason(DWORD error)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    const std::string reason = text;
    return reason.substr(0, reason.find_last_not_of(" \t\r\n") + 1);
}

TEST_F(Names, DroppedNamesAndShortcutsNameTheFilesTheyCameFromAndBareNamesAreNotLookedForNearby)
{
    const ProbeLog log;
    const std::string dir = ProgramDir(), plain = dir + "\\tav_plain.lnk", iconed = dir + "\\tav_iconed.lnk";
    ASSERT_TRUE(MakeShortcut(Wide(plain), {.target = Wide(ProbePath())}));
    ASSERT_TRUE(MakeShortcut(Wide(iconed), {Wide(ProbePath()), L"", L"", SW_SHOWNORMAL, Wide(dir + "\\tav_testicons.dll"), 1}));
    // A copy of the probe under a bare name, where the bar is started from.
    const std::wstring planted = Make(L"started here\\tav_planted.exe", true);
    wchar_t own[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, own);
    SetCurrentDirectoryW(planted.substr(0, planted.rfind(L'\\')).c_str());
    Start("[program section]\r\nprofile004=x,0,,tav_planted.exe\r\n");
    SetCurrentDirectoryW(own);
    ASSERT_TRUE(bar);
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1002), {plain}));
    ASSERT_TRUE(PostDrop(GetDlgItem(bar, 1003), {iconed}));
    EXPECT_TRUE(PumpUntil([&] { return IniValue(kPrograms, "profile002") == plain + ",0,,\"" + plain + "\""; }));
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1002), "face 115"); })) << "the probe's icon";
    EXPECT_TRUE(PumpUntil([&] { return Shows(GetDlgItem(bar, 1003), "face 114"); })) << "the link's icon location";
    DeleteFileA(plain.c_str());
    DeleteFileA(iconed.c_str());
    // The bare name is not found, whatever the folder the bar was started in holds.
    PostMessageA(bar, WM_COMMAND, 1004, LPARAM(GetDlgItem(bar, 1004)));  // the box holds a sent one up
    const std::string failed = GetACP() == 932 ? "\x8e\xc0\x8d\x73\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
                                               : "Execute error";
    EXPECT_EQ(TakeMessageBox(bar), failed + "\ntav_planted.exe: " + SystemReason(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(log.WaitFor(1, 500).size(), 0u) << "the planted file ran";
    // "ā" has no form in either code page: best fit would write "a", another file's name.
    const std::wstring program = Make(L"\u65e5\u672c\u8a9e\\probe.exe", true), document = Make(L"\u65e5\u0101.txt");
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1000), {program}));
    std::string value;
    ASSERT_TRUE(PumpUntil([&] { return (value = IniValue(kPrograms, "profile000")) != "<missing>"; }));
    const std::string path = value.substr(0, value.find(','));
    EXPECT_TRUE(NamesAFile(path)) << value;
    EXPECT_EQ(WideFromCodePage(path) == program, GetACP() == 932) << "as it stands where it can be";
    // The document dropped on it starts it with the document's name, quoted, last.
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1000), {document}));
    const std::string line = log.WaitFor(1).at(0).at("cmdline"), quoted = line.substr(line.rfind('"', line.size() - 2));
    EXPECT_TRUE(NamesAFile(quoted.substr(1, quoted.size() - 2))) << line;
    // A name the code page cannot write, of no file (so of no short name either): the box names it.
    ASSERT_TRUE(PostWideDrop(GetDlgItem(bar, 1001), {kDir + L"\\gone\u0101.exe"}));
    EXPECT_NE(AnswerBox(bar, IDOK).find(L"\\gone\u0101.exe"), std::wstring::npos) << "the box names the file";
}

TEST_F(Names, TheDialogKeepsLongFieldsWholeAndAFieldThatWouldEndEarlyKeepsItOpen)
{
    // As a drop stores it: longer than what the dialog's fields take from typing.
    const std::string stored = "C:\\" + std::string(140, 'd') + "\\x.exe", value = stored + ",0,,\"" + stored + "\"";
    HWND d, chooser;
    ASSERT_TRUE(Start("[program section]\r\nprofile000=" + value + "\r\n"));
    const std::wstring folder = Make(L"My,Docs\\x"), chosen = Make(std::wstring(130, L'p') + L"\\probe.exe", true);
    PostMessageA(GetDlgItem(bar, 1000), WM_RBUTTONDOWN, 0, 0);
    ASSERT_TRUE(d = WaitForDialog(bar, 1006));
    // A directory with a comma is taken by its short path; an icon file with one, of no file, keeps the dialog open.
    SetDlgItemTextW(d, 1009, folder.substr(0, folder.rfind(L'\\')).c_str());
    SetDlgItemTextW(d, 1007, (kDir + L"\\Gone,Icon.ico").c_str());
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(d) && IniValue(kPrograms, "profile000") == value);
    // A program path with a comma, of no file: a click would start what stands before the comma. The box says why.
    SetDlgItemTextW(d, 1006, (L"\"" + kDir + L"\\Gone,Program.exe\" -x").c_str());
    PostMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_NE(AnswerBox(d, IDOK).find(L"\\Gone,Program.exe"), std::wstring::npos);
    EXPECT_TRUE(IsWindowVisible(d) && IniValue(kPrograms, "profile000") == value);
    // Browse: the chooser gives a path longer than can be typed, quoted whole in the program field.
    PostMessageA(d, WM_COMMAND, 1001, 0);
    ASSERT_TRUE(chooser = WaitForDialog(d, IDOK));
    SetDlgItemTextW(chooser, GetDlgItem(chooser, 0x47c) ? 0x47c : 0x480, chosen.c_str());
    ASSERT_TRUE(Dismiss(chooser, IDOK));
    SetDlgItemTextA(d, 1007, stored.c_str());  // the interlock box set it to the chosen program
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(d); }));
    const std::string entry = IniValue(kPrograms, "profile000"), head = stored + ",0,";
    ASSERT_EQ(entry.substr(0, head.size()), head) << entry;
    const size_t end = entry.find(',', head.size());
    EXPECT_TRUE(NamesAFile(entry.substr(head.size(), end - head.size()))) << "the folder, by its short path";
    EXPECT_EQ(WideFromCodePage(entry.substr(end + 1)), L"\"" + chosen + L"\"");
}

TEST_F(Names, ManyDroppedFilesStartOnlyOnceAgreedAndTheBarKeepsAnswering)
{
    const ProbeLog log;
    ASSERT_TRUE(Start("[program section]\r\nprofile000=x,0,,\"" + ProbePath() + "\"\r\n"));
    const auto drop = [&](int n, const std::string &stem) {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.push_back("C:\\" + stem + std::to_string(i) + ".txt");
        return PostDrop(GetDlgItem(bar, 1000), names);
    };
    // Sixteen start without a question; of seventeen, none when the answer is No.
    ASSERT_TRUE(drop(16, "few") && log.WaitFor(16).size() == 16);
    ASSERT_TRUE(drop(17, "refused"));
    EXPECT_NE(AnswerBox(bar, IDNO).find(L"17"), std::wstring::npos);
    // Agreed: the bar answers while they start, and closes meanwhile without harm.
    ASSERT_TRUE(drop(60, "agreed") && !AnswerBox(bar, IDYES).empty());
    EXPECT_TRUE(SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr)) << "busy starting";
    EXPECT_EQ(bar_->Close(), 0);
    for (ProbeRecord r : log.WaitFor(200, 2000))
        EXPECT_EQ(r["cmdline"].find("refused"), std::string::npos);
}

} // namespace
