// The Execute Application dialog: starts a typed command and keeps the last
// five in the launcher's history.
#pragma once
#include <windows.h>

#include "ini/settings_rules.h"
#include "launch/activation_rules.h"

// Runs the dialog modally on `owner` in `language`, offering and keeping the
// commands of `history` (none: nothing offered or kept). Always 1.
INT_PTR OpenRunDialog(HWND owner, RunHistory *history, Language language);
