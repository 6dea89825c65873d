// Slot entries and typed commands turned into starts, and the run history,
// never read or write out of bounds, and a folder is always its program's front.
#include <cstdint>
#include <string>

#include "check.h"
#include "launch/activation_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    RunHistory history;
    for (LeadBytePredicate lead : {IsCp932LeadByte, NoLeadByte}) {
        const StartPlan typed = PlanTypedCommand(text, lead);
        Check(typed.program.compare(0, typed.directory.size(), typed.directory) == 0);
        PlanSlotStart(text, lead);
        PlanDropStart(text);
        RememberRunCommand(history, text, lead);
        RememberRunCommand(history, text.substr(0, size / 2), lead);
    }
    return 0;
}
