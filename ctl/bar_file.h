// tavctl's hold on the bar's file: TAV.INI read as the bar would read it, a verb's work under
// the writers' lock, and the end of a verb once the lock is let go.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ctl/ctl_rules.h"
#include "ini/profile_file.h"
#include "ini/hot_key_rules.h"
#include "ini/section_rules.h"

namespace tavctl {

struct BarFile {
    BarFile() = default;
    // Read in place and never moved: a short section text lives inside its string, where the
    // views of `section` point.
    BarFile(const BarFile &) = delete;
    BarFile &operator=(const BarFile &) = delete;

    int perPage = kDefaultButtonsPerPage;
    int pages = kDefaultMaximumPages;
    HotKey hotKey;            // as the bar reads it
    std::string environment;  // the section as read, for SetSectionValues
    std::string programs;     // the section text the views of `section` point into
    ProfileSection section;
};

// The bar's grid and both sections, as the bar would read them now.
void ReadBarFile(BarFile &file);

// What a verb's work under the writers' lock came to. It is printed, and the change announced,
// only once the lock is let go: output nobody reads (a full pipe, a console held by a selection)
// must never hold up the bar or another writer.
struct Outcome {
    int code = ExitDone;
    std::string error;     // one line, when code is not ExitDone
    bool changed = false;  // TAV.INI was written: announce it
};

Outcome Refused(int code, std::string error);

// Runs `work` holding the writers' lock. Without it nothing is read or written: a file read
// meanwhile may be half rewritten, and a change written meanwhile undoes another writer's.
template <typename Work> Outcome UnderLock(Work work)
{
    const ProfileLock lock;
    if (!lock.Held())
        return Refused(ExitNotStored, "another program has held TAV.INI (the lock " + std::string(kIniWriterLock) +
                                          ") for over " + std::to_string(kProfileLockTimeoutMs / 1000) +
                                          " s; nothing was read or written");
    return work();
}

// The file read under the lock, and let go.
Outcome ReadUnderLock(BarFile &file);

// A key of the program section as stored; nothing when it is missing.
std::optional<std::string> KeyValue(const BarFile &file, const std::string &key);
// Slot `key`'s entry, "" when there is none.
std::string EntryAt(const BarFile &file, int key);
// Every registered slot, in key order (texts in the code page).
std::vector<SlotReport> Registered(const BarFile &file);
// The report's texts in UTF-8, for JSON.
SlotReport InUtf8(SlotReport report);

// The end of a verb, the lock let go: the error, or the change announced and then `output`
// written (the bar shows the change even while nobody reads the output).
int Finish(const Outcome &outcome, const std::string &output);

// The messages every verb words alike.
std::string NotStored();
std::string Programs(std::size_t n);
std::string Where(int page, int slot);

} // namespace tavctl
