// What the bar part holds while the bar window lives: its buttons, the icon
// strip, the faces' drawing resources, move mode, where the user's drag of the
// window began and the keyboard cue. One record, handed to the bar's
// functions; the main window keeps the one there is.
#pragma once
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ini/section_rules.h"
#include "ini/settings_rules.h"
#include "bar/layout_rules.h"
#include "syspanel/syspanel.h"
#include "winkit/dpi_rules.h"
#include "winkit/gdi_holders.h"
#include "winkit/geometry.h"

// The slot buttons, one per grid position (entry k has control id 1000 + k),
// made when the grid changes; the five control buttons, 501 to 505, once per
// bar window.
struct BarButtons {
    std::vector<HWND> slots;
    HWND controls[5] = {};
    // The client size the slot buttons were made for: a size message that reports
    // this very size (the bar's own build causes such) finds them already in place.
    Extent madeFor;
};

// A table sorted by its keys, for the strip's hundreds of icons: each is found in log n
// steps, with less code than a tree.
template <class Key, class Value>
class SortedTable {
public:
    // The value kept for `key`, and whether it was made now (as Value{}). It stays where it
    // is until the next entry is made.
    std::pair<Value *, bool> Emplace(const Key &key)
    {
        auto at = std::lower_bound(items_.begin(), items_.end(), key,
                                   [](const std::pair<Key, Value> &item, const Key &k) { return item.first < k; });
        const bool made = at == items_.end() || key < at->first;
        if (made)
            at = items_.insert(at, {key, Value{}});
        return {&at->second, made};
    }

private:
    std::vector<std::pair<Key, Value>> items_;
};

// Face resources kept by a number: a handful of each, found by looking at every one.
template <class Value>
class KeptBy {
public:
    // The one kept for `key`, made empty at its first use. It stays where it is until the
    // next one is made.
    Value &operator[](int key)
    {
        for (auto &item : items_)
            if (item.first == key)
                return item.second;
        return items_.emplace_back(key, Value{}).second;
    }
    void clear() { items_.clear(); }

private:
    std::vector<std::pair<int, Value>> items_;
};

// An icon file and index, as a slot's entry names them.
using IconKey = std::pair<std::string, int>;

// An icon file's size and last write time as they were looked at just before a
// cell was drawn from it: a file replaced since under the same name differs.
struct FileStamp {
    bool found = false;
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// One cell of the strip: whether it is drawn yet, and from what.
struct StripCell {
    bool ready = false;  // a cell not ready is drawn, or found still right, before anything shows it
    // The "profile%03d" value and "Title%03d" title it was drawn from; none when
    // one slot's change drew it, so that the next reload draws it again.
    std::optional<std::pair<std::string, std::string>> entry;
    std::optional<IconKey> icon;  // what it shows, if any: a later cell with the same is a copy
    FileStamp stamp;              // of the icon's file
};

// The program section as the last build or reload read it, kept while cells
// are still to be drawn from it.
struct StripSource {
    std::string text;
    ProfileSection section;          // views into text
    SortedTable<IconKey, int> extracted;  // the cell each icon was extracted into
    SortedTable<std::string, FileStamp> stamps;  // each icon file as this pass looked at it, once
    int next = 0;                    // every cell before it is drawn
};

// A raised and a pressed face for every slot of every page, built when the
// bar is built and when TAV.INI changed, freed at teardown. The cells of the
// page shown are drawn at once, the others while the bar is idle.
struct IconStrip {
    GdiObject<HBITMAP> bitmap;  // 2 faces x cells faces (76 x (cells * 38) at 96 DPI), or none
    // A memory DC holding the bitmap for as long as both live: under Wine, selecting a
    // screen-compatible bitmap asks for the display's colour depth, which costs more than
    // a page of copied faces. Freed before the bitmap.
    Owned<HDC, DeleteDC> dc;
    int cells = 0;              // maximumPages * 20 when built
    StripFace face;             // each face's size, as the buttons show it
    std::vector<std::string> names;  // each cell's slot name (bar/name_rules.h), read with its icon
    std::vector<StripCell> cellStates;  // per cell
    std::unique_ptr<StripSource> pending;  // none once every cell is drawn
};

// The page number's raised face as a page turn shows it, in a memory DC that
// keeps it selected (see IconStrip::dc); the DC goes first.
struct NumberPlate {
    GdiObject<HBITMAP> bitmap;
    Owned<HDC, DeleteDC> dc;
};

// What the faces draw with: the page number's font and the resource bitmaps,
// each made at its first use and kept, so that a page turn loads and makes
// nothing; freed at teardown.
struct FaceResources {
    GdiObject<HFONT> pageNumber;
    // Pages 10 to 20: the same face narrowed to fit, by the room inside the plate's rim.
    // Both held as plain GDI objects: one kind of list for the two costs less code.
    KeptBy<GdiObject<HGDIOBJ>> twoDigits;  // fonts
    KeptBy<GdiObject<HGDIOBJ>> bitmaps;    // by resource id
    // One per page and button size.
    KeptBy<NumberPlate> numberPlates;
};

// Shift + right click picks a slot up, the next right click swaps. Off when
// the bar is created; a reload leaves it as it is.
struct MoveState {
    bool on = false;
    int sourceSlot = -1;
};

// Whether the bar has been used from the keyboard: only then may a focus
// mark show, even where the system is set to show keyboard cues always.
struct KeyboardState {
    bool keysUsed = false;
};

struct BarState {
    BarButtons buttons;
    IconStrip strip;
    FaceResources faces;
    MoveState move;
    // The window's outer rectangle when the user began to move or size it (the
    // system's move and size loop): the loop's end stores the new place and grid,
    // and nothing when the window stayed where it was.
    Rect sizeMoveFrom;
    KeyboardState keys;
    // The DPI of the bar's monitor, which every size of the bar is scaled to: set when the
    // bar is made and when the system moves it to a monitor of another scale.
    int dpi = kBaseDpi;
};

// What the bar's functions work on, handed to them by the main window: the
// bar window, the bar part's state, the settings as held, and whether the
// system panel shows in the slots.
struct BarView {
    HWND window;
    BarState &state;
    BarSettings &settings;
    const SystemPanelState &panel;
};
