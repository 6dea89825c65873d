// A rule of a fuzz target: a broken one aborts, and libFuzzer keeps the input that broke it.
#pragma once
#include <cstdlib>

inline void Check(bool ok)
{
    if (!ok)
        std::abort();
}
