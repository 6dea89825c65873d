// Small owners of what the painters borrow from the system: GDI objects,
// device contexts, selections, text colour and background mode, the mouse
// capture. Each gives it back on every path out. Shared by every part of the
// program: the caption frame, the bar, the dialogs and the tooltip.
#pragma once
#include <windows.h>

#include <utility>

// A handle destroyed with `Destroy` when its owner goes.
template <class Handle, auto Destroy>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    Owned(Owned &&o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
    Owned &operator=(Owned &&o) noexcept
    {
        if (this != &o)
            Reset(std::exchange(o.handle_, nullptr));
        return *this;
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;
    ~Owned() { Reset(); }

    void Reset(Handle h = nullptr)
    {
        if (handle_)
            Destroy(handle_);
        handle_ = h;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

// A GDI object (bitmap, font, brush).
template <class Handle>
using GdiObject = Owned<Handle, DeleteObject>;

// An icon this program created (extracted). Icons from LoadIconA are
// shared by the system and are never put in one.
using OwnedIcon = Owned<HICON, DestroyIcon>;

// A memory device context compatible with `like` (nullptr: the screen).
class MemoryDc : public Owned<HDC, DeleteDC> {
public:
    explicit MemoryDc(HDC like) : Owned(CreateCompatibleDC(like)) {}
};

// A window's device context, released when it goes out of scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC; the previous one is selected back on exit,
// so the object can be deleted afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;
    ~Selection()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The whole-window DC of `window` (caption, frame and client), or `given`
// when the caller has one already; only a DC taken here is released.
class WholeWindowDc {
public:
    explicit WholeWindowDc(HWND window, HDC given = nullptr)
        : window_(window), dc_(given ? given : GetWindowDC(window)), owned_(given == nullptr)
    {
    }
    WholeWindowDc(const WholeWindowDc &) = delete;
    WholeWindowDc &operator=(const WholeWindowDc &) = delete;
    ~WholeWindowDc()
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

// One drawing attribute of a DC set for a scope and put back after it, unless setting it
// failed (`Set` answered `failed`).
template <class Value, Value(WINAPI *Set)(HDC, Value), Value failed>
class DcAttributeScope {
public:
    DcAttributeScope(const DcAttributeScope &) = delete;
    DcAttributeScope &operator=(const DcAttributeScope &) = delete;
    DcAttributeScope(HDC dc, Value value) : dc_(dc), previous_(Set(dc, value)) {}
    ~DcAttributeScope()
    {
        if (previous_ != failed)
            Set(dc_, previous_);
    }

private:
    HDC dc_;
    Value previous_;
};
using TextColorScope = DcAttributeScope<COLORREF, SetTextColor, CLR_INVALID>;
using BkModeScope = DcAttributeScope<int, SetBkMode, 0>;

class MouseCapture {
public:
    MouseCapture(const MouseCapture &) = delete;
    MouseCapture &operator=(const MouseCapture &) = delete;
    explicit MouseCapture(HWND window) { SetCapture(window); }
    ~MouseCapture() { ReleaseCapture(); }
};
