// Command splitting and the extension rule never read or write out of
// bounds, whatever the text and the destination size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "launch/command_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the destination size, the rest is the text.
    const std::size_t destSize = data[0] % 40;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    const char *source = text.c_str();

    std::vector<char> dest(destSize + 1, '\x7f');  // one guard byte past the end
    const char *rest = SplitCommandToken(destSize ? dest.data() : nullptr, destSize, source);
    Check(rest >= source && rest <= source + std::strlen(source));
    Check(dest[destSize] == '\x7f');
    if (destSize && dest[0] != '\x7f')
        Check(std::memchr(dest.data(), '\0', destSize) != nullptr);

    // The second half of the text is another extension to compare with.
    const std::string other = text.substr(text.size() / 2);
    for (LeadBytePredicate lead : {IsCp932LeadByte, NoLeadByte}) {
        const std::string ext = PathExtension(source, lead);
        Check(ext.empty() || ext[0] == '.');
        const LaunchCommand command = BuildLaunchCommand(source, source, source, lead);
        Check(command.associated == !command.executable.empty());

        // Reflexive and symmetric: the rule in its table of tests/host decides the rest.
        Check(SameExtension(ext, ext, lead));
        Check(SameExtension(ext, other, lead) == SameExtension(other, ext, lead));
    }
    return 0;
}
