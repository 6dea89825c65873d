// tavctl's text between the console, UTF-8 files and the code page TAV.INI is written in, and
// its output: each message one line, written as UTF-16 to a console and as UTF-8 to a pipe or a file.
#pragma once
#include <windows.h>

#include <string>

namespace tavctl {

std::wstring WideFromUtf8(const std::string &text);
std::string Utf8From(const std::wstring &wide);
std::string Utf8FromCodePage(const std::string &text);

// `utf8` to standard output or standard error, as it stands.
void Write(DWORD which, const std::string &utf8);
// A message as one line of output, whatever it quotes.
std::string Line(const std::string &utf8);
// One line to standard output.
void Say(const std::string &utf8);
// One line to standard error, and the exit code that goes with it.
int Fail(int code, const std::string &utf8);

// "code page N", the one TAV.INI is written in here.
std::string CodePageName();

} // namespace tavctl
