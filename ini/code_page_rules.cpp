#include "ini/code_page_rules.h"

bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool NoLeadByte(unsigned char) { return false; }

namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b, LeadBytePredicate isLead)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view FitText(std::string_view text, std::size_t capacity, LeadBytePredicate isLead)
{
    const std::size_t room = capacity ? capacity - 1 : 0;
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (isLead(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > text.size() || next > room)
            break;
        end = next;
    }
    return text.substr(0, end);
}
