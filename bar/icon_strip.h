// The icon strip: an off-screen bitmap holding a ready raised and pressed
// face for every slot of every page, so that painting a slot is one copy
// and never reads TAV.INI or extracts an icon. Also the small owners of GDI
// handles that the strip and the face painters share.
#pragma once
#include <windows.h>

#include <utility>

// ---- Owners of GDI handles (non-copyable, movable) -----------------------

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

// ---- The strip -----------------------------------------------------------

constexpr int kStripCellSize = 38;                   // one face; a cell is two faces side by side
constexpr int kStripWidth = 2 * kStripCellSize;      // raised face at x 0, pressed at x 38
constexpr int kStripCellsPerPage = 20;               // whatever the page shows
constexpr int kPressedIconX = kStripCellSize + 4;    // the pressed icon lies a pixel right and down
constexpr int kRaisedIconOffset = 3;

struct IconStrip {
    GdiObject<HBITMAP> bitmap;  // 76 x (cells * 38), or none
    int cells = 0;              // maximumPages * 20 when built
};
extern IconStrip gIconStrip;

// (Re)builds the strip from "program section" for maximumPages pages, under
// the wait cursor. Slots sharing an icon file and index get it extracted once.
void BuildIconStrip(HWND bar);
// Redraws the cell of gCurrentSlotNumber: the blank face, with the icon of
// `iconFile` (nullptr: none) at `storedIndex`; then repaints `button`.
void RenderSlotCell(HWND button, const char *iconFile, int storedIndex);
// Exchanges the cells of slots a and b (DC from `window`), then repaints every slot.
void SwapStripCells(HWND window, int a, int b);
// Deletes the strip, if any.
void FreeIconStrip();
