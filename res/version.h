// The program's version, kept in this one place: the version resource and
// the Properties dialog's version line are both made from it.
#pragma once

#define TAV_VERSION_MAJOR 3
#define TAV_VERSION_MINOR 92

#define TAV_VERSION_STR2(x) #x
#define TAV_VERSION_STR(x) TAV_VERSION_STR2(x)
#define TAV_VERSION_TEXT TAV_VERSION_STR(TAV_VERSION_MAJOR) "." TAV_VERSION_STR(TAV_VERSION_MINOR)
