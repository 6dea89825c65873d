// The caption painters' holders and the conversions between the system's
// rectangles and the Win32-free geometry's.
#pragma once
#include <windows.h>

#include "caption/caption_geometry_rules.h"
#include "winkit/gdi_holders.h"

inline Rect ToCapRect(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

inline RECT ToRect(const Rect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}
