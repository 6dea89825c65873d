// Small non-copyable holders for what the caption painters borrow from the
// system: a window's device context, a created GDI object, a selection, the
// mouse capture, a text colour or background mode. Each gives it back on
// every path out.
#pragma once
#include <windows.h>

#include "caption/caption_geometry.h"

class NonCopyable {
protected:
    NonCopyable() = default;
    NonCopyable(const NonCopyable &) = delete;
    NonCopyable &operator=(const NonCopyable &) = delete;
};

// The whole-window DC of `window`, or `given` when the caller has one already.
class WindowDcHolder : NonCopyable {
public:
    explicit WindowDcHolder(HWND window, HDC given = nullptr)
        : window_(window), dc_(given), owned_(given == nullptr)
    {
        if (owned_)
            dc_ = GetWindowDC(window);
    }
    ~WindowDcHolder()
    {
        if (owned_ && dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
    bool owned_;
};

template <class Handle>
class GdiObject : NonCopyable {
public:
    explicit GdiObject(Handle h) : h_(h) {}
    ~GdiObject()
    {
        if (h_)
            DeleteObject(h_);
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    Handle h_;
};

class SelectedObject : NonCopyable {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class TextColorScope : NonCopyable {
public:
    TextColorScope(HDC dc, COLORREF color) : dc_(dc), previous_(SetTextColor(dc, color)) {}
    ~TextColorScope() { SetTextColor(dc_, previous_); }

private:
    HDC dc_;
    COLORREF previous_;
};

class BkModeScope : NonCopyable {
public:
    BkModeScope(HDC dc, int mode) : dc_(dc), previous_(SetBkMode(dc, mode)) {}
    ~BkModeScope()
    {
        if (previous_)
            SetBkMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};

class MouseCapture : NonCopyable {
public:
    explicit MouseCapture(HWND window) { SetCapture(window); }
    ~MouseCapture() { ReleaseCapture(); }
};

inline CapRect ToCapRect(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

inline RECT ToRect(const CapRect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}
