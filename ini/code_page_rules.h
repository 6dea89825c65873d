// Text in the system code page as TAV.INI holds it: which bytes lead a
// double-byte character, case-blind comparison that never splits one, and
// the size every value of the file is read into. No Win32 here.
#pragma once
#include <cstddef>
#include <string_view>

// Whether a byte starts a double-byte character of the active code page.
using LeadBytePredicate = bool (*)(unsigned char);
// Shift-JIS (code page 932) lead bytes: 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char c);
bool NoLeadByte(unsigned char c);

// Whether two texts are equal but for the case of single-byte letters; a
// double-byte character compares byte for byte (its trail byte may look like
// a letter).
bool SameTextIgnoringCase(std::string_view a, std::string_view b, LeadBytePredicate isLead);

// The longest front part of `text` that fits a buffer of `capacity` bytes
// with its terminator and ends on a whole character: a double-byte
// character is kept or dropped whole, and so is a lead byte whose trail
// byte is missing (a value the profile reader cut).
std::string_view FitText(std::string_view text, std::size_t capacity, LeadBytePredicate isLead);

// A value of TAV.INI read into a fixed buffer is cut at this size less one.
constexpr std::size_t kValueBuffer = 2048;
