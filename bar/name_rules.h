// The names the bar's buttons carry as window texts, for screen readers and
// UI automation: the faces are owner-drawn, so nothing on the screen shows them.
#pragma once
#include <string>
#include <string_view>

#include "launch/command_rules.h"

// A slot's name: its title, or else the file name of the program its entry
// ("profile%03d" value) starts; "" for an empty slot.
std::string SlotName(std::string_view title, std::string_view value, LeadBytePredicate isLead);

// Line `index` of a text of lines separated by '\n' ("" past the last): the
// five panel actions' names come as one string of the table.
std::wstring LineOf(std::wstring_view lines, int index);
