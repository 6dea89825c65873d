// The string table and the dialog templates, in the language the caller names.
#pragma once
#include <string>

#include "ini/settings_rules.h"

// The string `base` in `language` (base + its offset), as UTF-16 text, whole: a Japanese
// text reaches a box on an English system too.
std::wstring LoadTavText(Language language, unsigned base);
// The template of dialog `kind` in `language`.
unsigned TavDialogId(Language language, DialogKind kind);
