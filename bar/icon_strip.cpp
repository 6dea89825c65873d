#include "bar/icon_strip.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "winkit/module.h"
#include "ini/profile_section.h"
#include "ini/program_entry.h"
#include "ini/settings.h"
#include "ini/code_page_path.h"
#include "bar/faces.h"
#include "bar/layout.h"
#include "bar/name_rules.h"
#include "launch/command.h"
#include "launch/shortcut.h"
#include "res/resource.h"


namespace {

constexpr int kIconSize = 32;

bool HoldsCell(const IconStrip &strip, int n)
{
    return strip.bitmap && n >= 0 && n < strip.cells;
}

int CellTop(int n)
{
    return n * kStripCellSize;
}

// Cell n becomes the blank face of both states.
void PaintBlankCell(HDC strip, HDC blank, int n)
{
    BitBlt(strip, 0, CellTop(n), kStripWidth, kStripCellSize, blank, 0, 0, SRCCOPY);
}

// Every cell becomes the blank face: one copy from the blank bitmap, then
// the filled part copied onto the rest, doubling, instead of a copy a cell.
void PaintBlankCells(HDC strip, HDC blank, int cells)
{
    if (cells <= 0)
        return;
    PaintBlankCell(strip, blank, 0);
    for (int filled = 1; filled < cells; filled *= 2) {
        const int n = std::min(filled, cells - filled);
        BitBlt(strip, 0, CellTop(filled), kStripWidth, n * kStripCellSize, strip, 0, 0, SRCCOPY);
    }
}

// The program's icon on both faces of cell n (a shortcut's comes from the
// file it names); the default program icon when the file cannot give one
// (ExtractIconW answers 0 for no icon and 1 for a file that holds none).
void DrawProgramIcon(HDC strip, int n, const char *iconFile, int index)
{
    const IconSource source = ResolveIconSource(iconFile, index);
    HICON extracted = ExtractIconW(ResourceModule(), source.file.c_str(), static_cast<UINT>(source.index));
    if (reinterpret_cast<UINT_PTR>(extracted) == 1)
        extracted = nullptr;
    const OwnedIcon owned(extracted);
    const HICON icon = extracted ? extracted : LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM));
    const int top = CellTop(n) + kRaisedIconOffset;
    DrawIcon(strip, kRaisedIconOffset, top, icon);
    // Both icons lie on the faces' plain light grey, so the pressed one is a
    // copy of the raised one: one masked draw a slot, not two. An icon larger
    // than the faces' plain area is drawn twice instead.
    if (GetSystemMetrics(SM_CXICON) == kIconSize && GetSystemMetrics(SM_CYICON) == kIconSize)
        BitBlt(strip, kPressedIconX, top + 1, kIconSize, kIconSize, strip, kRaisedIconOffset, top, SRCCOPY);
    else
        DrawIcon(strip, kPressedIconX, top + 1, icon);
}

// Slot n's name as the file has it now: after one slot's change.
std::string ReadSlotName(int n)
{
    char title[kValueBuffer] = {};
    char value[kValueBuffer] = {};
    ReadProgramKey(TitleKey(n).c_str(), title, sizeof title);
    ReadProgramKey(ProfileKey(n).c_str(), value, sizeof value);
    return value[0] ? SlotName(title, value, IsSystemLeadByte) : "";
}

// The wait cursor while the strip is built; the previous one comes back on
// exit. A cursor from LoadCursorA is shared, so there is nothing to destroy.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(ResourceModule(), MAKEINTRESOURCEA(IDCUR_WAIT)))) {}
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

} // namespace

void BuildIconStrip(HWND bar, IconStrip &strip, FaceResources &faces, int maximumPages)
{
    const WaitCursor wait;
    FreeIconStrip(strip);

    const int cells = maximumPages * kStripCellsPerPage;
    {
        const WindowDc screen(bar);
        strip.bitmap.Reset(CreateCompatibleBitmap(screen.get(), kStripWidth, cells * kStripCellSize));
    }
    strip.cells = cells;
    strip.names.assign(static_cast<std::size_t>(cells), std::string());

    const MemoryDc blankDc(nullptr);
    const MemoryDc stripDc(nullptr);
    const Selection blankSelected(blankDc.get(), FaceBitmap(faces, IDB_BLANK_FACE));
    const Selection stripSelected(stripDc.get(), strip.bitmap.get());

    // One read of the section instead of one per slot; each key is then
    // looked up as the profile reader would read it into its buffer.
    const auto isLead = IsSystemLeadByte;
    const std::string sectionText = ReadProgramSection();
    const ProfileSection section = ParseProfileSection(sectionText, isLead);

    // The first cell drawn for each icon file and index: later slots with
    // the same icon copy that cell instead of extracting it again.
    std::map<std::pair<std::string, int>, int> drawn;
    PaintBlankCells(stripDc.get(), blankDc.get(), cells);
    for (int n = 0; n < cells; ++n) {
        // Sized to the section, so no value is cut: a cut icon file would name another file.
        const std::string value = ProfileValue(section, ProfileKey(n), sectionText.size() + 1, isLead);
        const ProgramEntry entry = ParseProgramEntry(value, CommandExtent::Token);
        if (entry.empty)
            continue;
        strip.names[n] = SlotName(ProfileValue(section, TitleKey(n), kValueBuffer, isLead), value, isLead);
        auto [at, isNew] = drawn.try_emplace({entry.iconFile, entry.effectiveIconIndex}, n);
        if (isNew)
            DrawProgramIcon(stripDc.get(), n, entry.iconFile.c_str(), entry.effectiveIconIndex);
        else
            BitBlt(stripDc.get(), 0, CellTop(n), kStripWidth, kStripCellSize, stripDc.get(), 0, CellTop(at->second),
                   SRCCOPY);
    }
}

void RenderSlotCell(const BarView &v, HWND button, int n, const char *iconFile, int storedIndex)
{
    IconStrip &strip = v.state.strip;
    if (HoldsCell(strip, n)) {
        const MemoryDc blankDc(nullptr);
        const MemoryDc stripDc(nullptr);
        const Selection blankSelected(blankDc.get(), FaceBitmap(v.state.faces, IDB_BLANK_FACE));
        const Selection stripSelected(stripDc.get(), strip.bitmap.get());
        PaintBlankCell(stripDc.get(), blankDc.get(), n);
        if (iconFile)
            DrawProgramIcon(stripDc.get(), n, iconFile, EffectiveIconIndex(storedIndex));
        strip.names[n] = ReadSlotName(n);
    }
    InvalidateRect(button, nullptr, TRUE);
    NameSlotButtons(v);
}

void SwapStripCells(const BarView &v, HWND window, int a, int b)
{
    IconStrip &strip = v.state.strip;
    if (HoldsCell(strip, a) && HoldsCell(strip, b) && a != b) {
        const WindowDc windowDc(window);
        const GdiObject<HBITMAP> scratch(CreateCompatibleBitmap(windowDc.get(), kStripWidth, kStripCellSize));
        const MemoryDc scratchDc(windowDc.get());
        const MemoryDc stripDc(windowDc.get());
        const Selection scratchSelected(scratchDc.get(), scratch.get());
        const Selection stripSelected(stripDc.get(), strip.bitmap.get());
        BitBlt(scratchDc.get(), 0, 0, kStripWidth, kStripCellSize, stripDc.get(), 0, CellTop(a), SRCCOPY);
        BitBlt(stripDc.get(), 0, CellTop(a), kStripWidth, kStripCellSize, stripDc.get(), 0, CellTop(b), SRCCOPY);
        BitBlt(stripDc.get(), 0, CellTop(b), kStripWidth, kStripCellSize, scratchDc.get(), 0, 0, SRCCOPY);
        std::swap(strip.names[a], strip.names[b]);
    }
    InvalidateSlots(v);
}

void FreeIconStrip(IconStrip &strip)
{
    strip.bitmap.Reset();
    strip.cells = 0;
    strip.names.clear();
}
