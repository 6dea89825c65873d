// tavctl's verbs, one function each: what the command line asked for, done, and its exit code.
#pragma once
#include "ctl/ctl_rules.h"

namespace tavctl {

// The slots: commands_slots.cpp.
int List(const CtlRequest &request);
int Add(const CtlRequest &request);
int Remove(const CtlRequest &request);
int Move(const CtlRequest &request);
int Title(const CtlRequest &request);
// The settings and the start at log-on: commands_settings.cpp.
int Set(const CtlRequest &request);
int Autostart(const CtlRequest &request);
// The whole configuration as JSON: commands_backup.cpp.
int Export(const CtlRequest &request);
int Import(const CtlRequest &request);

} // namespace tavctl
