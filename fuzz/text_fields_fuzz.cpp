// The Program Definition dialog's field rules and the tooltip's text rules on
// any stored value or typed text: the tooltip's text fits its buffer on whole
// characters, and the icon index and the minimized flag survive being stored.
// (The whole entry's round trip is program_entry_fuzz's.)
#include <cstdint>
#include <string>

#include "check.h"
#include "bar/program_dialog_rules.h"
#include "tips/tooltip_rules.h"

// Whether `cut` ends on a whole character of `text`; a lead byte that ends the text stands alone.
static bool EndsWhole(const std::string &text, std::size_t cut, LeadBytePredicate lead)
{
    std::size_t at = 0;
    while (at < cut)
        at += lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    return at == cut;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const ProgramFields fields = FieldsFromStoredValue(text);
    Check(fields.iconIndex >= 0);
    if (const auto stored = StoredValueFromFields(fields))  // opens as the same fields again
        Check(FieldsFromStoredValue(*stored).iconIndex == fields.iconIndex &&
              FieldsFromStoredValue(*stored).runMinimized == fields.runMinimized);
    for (LeadBytePredicate lead : {IsCp932LeadByte, NoLeadByte}) {
        for (std::size_t capacity : {std::size_t{1}, std::size_t{2}, std::size_t{64}, std::size_t{256}}) {
            const std::string_view shown = FitText(text, capacity, lead);
            Check(shown.size() < capacity && EndsWhole(text, shown.size(), lead));
        }
    }
    InterlockIconFile(text);
    TooltipCommandText(text);
    return 0;
}
