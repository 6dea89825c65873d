// The Program Definition dialog's field rules and the tooltip's text rules on
// any stored value or typed text: fields fit their buffers on whole
// characters, and the icon index and the minimized flag survive being stored.
// (The whole entry's round trip is program_entry_fuzz's.)
#include <cstdint>
#include <string>

#include "check.h"
#include "bar/program_fields.h"
#include "tips/tooltip_rules.h"

// Whether `cut` ends on a whole character of `text` (of which it is the
// front); a lead byte that ends the text stands alone.
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
    for (LeadBytePredicate lead : {IsCp932LeadByte, NoLeadByte}) {
        const std::string fitted = FitField(text, lead);
        Check(fitted.size() <= kFieldChars && text.compare(0, fitted.size(), fitted) == 0);
        Check(EndsWhole(text, fitted.size(), lead));
        const ProgramFields fields = FieldsFromStoredValue(text, lead);
        for (const std::string *f : {&fields.program, &fields.directory, &fields.iconFile})
            Check(f->size() <= kFieldChars);
        Check(fields.iconIndex >= 0);
        if (const auto stored = StoredValueFromFields(fields))  // opens as the same fields again
            Check(FieldsFromStoredValue(*stored, lead).iconIndex == fields.iconIndex &&
                  FieldsFromStoredValue(*stored, lead).runMinimized == fields.runMinimized);
        for (std::size_t capacity : {std::size_t{1}, std::size_t{2}, std::size_t{64}, std::size_t{256}}) {
            const std::string_view shown = FitText(text, capacity, lead);
            Check(shown.size() < capacity && EndsWhole(text, shown.size(), lead));
        }
    }
    InterlockIconFile(text);
    TooltipCommandText(text);
    if (const auto browsed = BrowsedProgramText(text.substr(0, 127)))
        Check(browsed->size() <= kFieldChars);
    return 0;
}
