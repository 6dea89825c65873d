// Any section text parses, and every lookup stays inside the buffer it
// models and comes from the text itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "check.h"
#include "ini/section_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t buffer = data[0];
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    for (LeadBytePredicate lead : {IsCp932LeadByte, NoLeadByte}) {
        const ProfileSection section = ParseProfileSection(text, lead);
        for (const auto &[name, value] : section.values) {
            const std::string got = ProfileValue(section, name, buffer, lead);
            Check(got.size() + 1 <= std::max<std::size_t>(buffer, 1) && text.find(got) != std::string::npos);
        }
    }
    return 0;
}
