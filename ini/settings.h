// "environment section" as the bar reads and writes it.
#pragma once
#include <windows.h>

#include <string>

#include "ini/profile_file.h"
#include "ini/settings_rules.h"

// Reads "environment section" into `settings` (start-up form: also "Japan"
// and "startup page"; reload form: keeps language and page) and returns the
// stored position. `environment`: the section's text as already read
// (nullptr: read it now).
BarPosition LoadSettings(bool startup, BarSettings &settings, const std::string *environment = nullptr);

// Writes "mode", "startup page", "maximum pages", "buttons par page",
// "position" (the bar's outer top-left) and "hot key" as one change, each only when the bar
// holds another value than its stored text reads as (so a hand-written "0x8000"
// stays as it is), then announces the change. Nothing when the settings never
// came from the file. False, with nothing announced,
// when the change could not be stored: the caller tells the user.
bool SaveSettings(HWND bar, const BarSettings &settings);
