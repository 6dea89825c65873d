#include "bar/icon_strip.h"

#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "winkit/module.h"
#include "ini/section_rules.h"
#include "ini/entry_rules.h"
#include "ini/profile_file.h"
#include "ini/code_page_path.h"
#include "bar/layout.h"
#include "bar/name_rules.h"
#include "launch/command_rules.h"
#include "launch/shortcut.h"
#include "res/resource.h"
#include "bar/layout_rules.h"
#include "winkit/gdi_holders.h"


HBITMAP FaceBitmap(FaceResources &faces, int bitmapId)
{
    GdiObject<HGDIOBJ> &kept = faces.bitmaps[bitmapId];
    if (!kept)
        kept.Reset(LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(bitmapId)));
    return static_cast<HBITMAP>(kept.get());
}

namespace {

bool HoldsCell(const IconStrip &strip, int n)
{
    return strip.dc && n >= 0 && n < strip.cells;
}

int CellTop(const IconStrip &strip, int n)
{
    return n * strip.face.cell;
}

} // namespace

namespace {

// The art's frame is grey; any colour is its picture.
bool IsGrey(DWORD p)
{
    return (p >> 16 & 255) == (p >> 8 & 255) && (p >> 8 & 255) == (p & 255);
}

} // namespace

void PaintArtFace(HDC dc, int x, int y, int w, int h, HDC art, int ax, int ay, int aw, int ah)
{
    if (w == aw) {  // as it is: one copy
        BitBlt(dc, x, y, w, h, art, ax, ay, SRCCOPY);
        return;
    }
    if (w < aw) {
        // Smaller than its (square) art: reduced properly, not by dropping pixels;
        // the frame's 3 pixels at each edge kept as lines.
        constexpr int e = 3;
        const int to[] = {0, e, w - e, w}, from[] = {0, e, aw - e, aw};
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                StretchBlt(dc, x + to[col], y + to[row], to[col + 1] - to[col], to[row + 1] - to[row], art,
                           ax + from[col], ay + from[row], from[col + 1] - from[col], from[row + 1] - from[row],
                           SRCCOPY);
        return;
    }
    // One 32-bit bitmap: the art's cell at its left, the face beside it.
    const int stride = aw + w;
    BITMAPINFO info{};
    BITMAPINFOHEADER &head = info.bmiHeader;
    head.biSize = sizeof head, head.biWidth = stride, head.biHeight = -(ah > h ? ah : h), head.biPlanes = 1,
    head.biBitCount = 32;
    void *bits = nullptr;
    const GdiObject<HGDIOBJ> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const MemoryDc both(nullptr);
    if (!bits)
        return;
    const Selection selected(both.get(), bitmap.get());
    BitBlt(both.get(), 0, 0, aw, ah, art, ax, ay, SRCCOPY);
    GdiFlush();
    const DWORD *from = static_cast<const DWORD *>(bits);
    // The left edge: the columns of one colour from the second row to the last but one.
    int edge = 0;
    for (bool even = true; even && edge < aw / 2; edge += even)
        for (int j = 2; j < ah - 1; ++j)
            even = even && from[j * stride + edge] == from[stride + edge];
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int pi = ArtPicturePixel(i, aw, w), pj = ArtPicturePixel(j, ah, h);
            DWORD p = pi < 0 || pj < 0 ? 0 : from[pj * stride + pi];
            if (pi < 0 || pj < 0 || IsGrey(p)) {
                // The frame; under the picture it goes on as beside it (its lines repeat every two pixels).
                const int fj = ArtFramePixel(j, ah, h, -1);
                for (int fi = ArtFramePixel(i, aw, w, edge); fi >= 0 && !IsGrey(p = from[fj * stride + fi]); fi -= 2) {
                }
            }
            static_cast<DWORD *>(bits)[j * stride + aw + i] = p;
        }
    BitBlt(dc, x, y, w, h, both.get(), aw, 0, SRCCOPY);
}

namespace {

// The blank face of both states at the strip's face size, made once from the art and kept
// with the face bitmaps.
HBITMAP BlankFace(FaceResources &faces, const StripFace &f)
{
    const HBITMAP art = FaceBitmap(faces, IDB_BLANK_FACE);
    if (f.cell == kStripCellSize && f.art == 1)
        return art;
    GdiObject<HGDIOBJ> &kept = faces.bitmaps[-(f.cell * 8 + f.art)];  // beside the resource ids
    if (kept)
        return static_cast<HBITMAP>(kept.get());
    const MemoryDc artDc(nullptr), dc(nullptr);
    {
        const WindowDc screen(nullptr);
        kept.Reset(CreateCompatibleBitmap(screen.get(), 2 * f.cell, f.cell));
    }
    const Selection artSelected(artDc.get(), art), selected(dc.get(), kept.get());
    for (int face = 0; face < 2; ++face)
        PaintArtFace(dc.get(), face * f.cell, 0, f.cell, f.cell, artDc.get(), face * kStripCellSize, 0, kStripCellSize,
                     kStripCellSize);
    return static_cast<HBITMAP>(kept.get());
}

// Cell n becomes the blank face of both states (`blank`: a DC holding BlankFace).
void PaintBlankCell(const IconStrip &strip, HDC dc, HDC blank, int n)
{
    BitBlt(dc, 0, CellTop(strip, n), 2 * strip.face.cell, strip.face.cell, blank, 0, 0, SRCCOPY);
}

BOOL CALLBACK NthIconGroup(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    auto &find = *reinterpret_cast<std::pair<int, HRSRC> *>(param);
    if (find.first-- > 0)
        return TRUE;
    find.second = FindResourceW(module, name, type);
    return FALSE;
}

// The sizes of the images of the source's icon, at most `room`: an icon file's, or a
// program's icon group (a negative index is the group's id); 0 when they cannot be read.
int IconImageSizes(const IconSource &source, int *sizes, int room)
{
    const std::wstring &file = source.file;
    BYTE head[6 + 16 * 16] = {};
    const BYTE *dir = head;
    DWORD bytes = 0;
    int entry = 16;
    HMODULE module = nullptr;
    if (file.size() > 4 && !lstrcmpiW(file.c_str() + file.size() - 4, L".ico")) {
        const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return 0;
        ReadFile(h, head, sizeof head, &bytes, nullptr);
        CloseHandle(h);
    } else if ((module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))) {
        const LPCWSTR groupIcon = MAKEINTRESOURCEW(14);  // RT_GROUP_ICON, which this build spells narrow
        std::pair<int, HRSRC> find{source.index, nullptr};
        if (source.index < 0)
            find.second = FindResourceW(module, MAKEINTRESOURCEW(-source.index), groupIcon);
        else
            EnumResourceNamesW(module, groupIcon, NthIconGroup, reinterpret_cast<LONG_PTR>(&find));
        dir = find.second ? static_cast<const BYTE *>(LockResource(LoadResource(module, find.second))) : nullptr;
        bytes = dir ? SizeofResource(module, find.second) : 0;
        entry = 14;
    }
    int count = 0;
    for (; count < room && 6 + entry * (count + 1) <= static_cast<int>(bytes) && count < (dir[4] | dir[5] << 8); ++count)
        sizes[count] = dir[6 + entry * count] ? dir[6 + entry * count] : 256;  // 0: 256 pixels
    if (module)
        FreeLibrary(module);
    return count;
}

// The program's icon, extracted at the size the face shows it (a file's own image of that
// size where it has one), on both faces of cell n (a shortcut's comes from the file it
// names); the default program icon when the file cannot give one.
void DrawProgramIcon(const IconStrip &strip, HDC dc, int n, const char *iconFile, int index)
{
    const StripFace &f = strip.face;
    const IconSource source = ResolveIconSource(iconFile, index);
    HICON extracted = nullptr;
    int size = f.extracted;
    // Nearly every file carries 16, 24, 32 and 48; at another size the file's own list
    // says whether a larger image is there to reduce.
    if (size != 16 && size != 24 && size != 32 && size != 48) {
        int sizes[16];
        size = IconSizeToExtract(sizes, IconImageSizes(source, sizes, 16), size);
    }
    if (SHDefExtractIconW(source.file.c_str(), source.index, 0, &extracted, nullptr, static_cast<UINT>(size)) != S_OK)
        extracted = nullptr;
    const OwnedIcon owned(extracted ? extracted
                                    : static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_DEFAULT_PROGRAM),
                                                                    IMAGE_ICON, size, size, 0)));
    const int top = CellTop(strip, n) + f.inset;
    if (size == f.icon) {
        DrawIconEx(dc, f.inset, top, owned.get(), size, size, 0, nullptr, DI_NORMAL);
    } else {
        // A small face's icon, or a larger image: on the faces' grey, reduced by averaging.
        const MemoryDc large(dc);
        const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, size, size));
        const Selection selected(large.get(), bitmap.get());
        const RECT all{0, 0, size, size};
        FillRect(large.get(), &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        DrawIconEx(large.get(), 0, 0, owned.get(), size, size, 0, nullptr, DI_NORMAL);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, f.inset, top, f.icon, f.icon, large.get(), 0, 0, size, size, SRCCOPY);
    }
    // Both icons lie on the faces' plain light grey, so the pressed one is a
    // copy of the raised one: one masked draw a slot, not two.
    BitBlt(dc, f.cell + f.inset + f.art, top + f.art, f.icon, f.icon, dc, f.inset, top, SRCCOPY);
}

FileStamp StampOf(const std::string &iconFile)
{
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExW(WideFromCodePage(iconFile).c_str(), GetFileExInfoStandard, &d))
        return {};
    const auto both = [](DWORD high, DWORD low) { return (ULONGLONG{high} << 32) | low; };
    return {true, both(d.nFileSizeHigh, d.nFileSizeLow),
            both(d.ftLastWriteTime.dwHighDateTime, d.ftLastWriteTime.dwLowDateTime)};
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

namespace {

// While idle, the queue is looked at after each icon extraction and after
// this many cells: copies and blanks are cheap, a look at the queue is not.
constexpr int kIdleBatch = 32;

std::unique_ptr<StripSource> ReadSource()
{
    auto source = std::make_unique<StripSource>();
    // One read of the section instead of one per slot; each key is then
    // looked up as the profile reader would read it into its buffer.
    source->text = ReadProgramSection();
    source->section = ParseProfileSection(source->text, IsSystemLeadByte);
    return source;
}

// Slot n's entry and title as the section gives them. The entry is sized to
// the section, so no value is cut: a cut icon file would name another file.
std::pair<std::string, std::string> EntryOf(const StripSource &source, int n)
{
    return {ProfileValue(source.section, ProfileKey(n), source.text.size() + 1, IsSystemLeadByte),
            ProfileValue(source.section, TitleKey(n), kValueBuffer, IsSystemLeadByte)};
}

// An icon file as this pass over the strip finds it: looked at once, however many cells show it.
const FileStamp &StampNow(StripSource &source, const std::string &iconFile)
{
    const auto [stamp, first] = source.stamps.Emplace(iconFile);
    if (first)
        *stamp = StampOf(iconFile);
    return *stamp;
}

// Whether pending cell n still shows what it would be drawn with: the same entry and title, and
// an icon file unchanged since. It is then ready again as it stands.
bool KeepCell(IconStrip &strip, int n)
{
    StripSource &source = *strip.pending;
    StripCell &cell = strip.cellStates[n];
    if (!cell.entry || *cell.entry != EntryOf(source, n))
        return false;
    if (cell.icon) {
        if (!(cell.stamp == StampNow(source, cell.icon->first)))
            return false;
        const auto [cellOf, first] = source.extracted.Emplace(*cell.icon);
        if (first)
            *cellOf = n;  // later cells of the same icon copy it
    }
    cell.ready = true;
    return true;
}

// Draws pending cells of the strip from its pending section, with the blank
// face selected for as long as it lives.
class CellPainter {
public:
    CellPainter(IconStrip &strip, FaceResources &faces)
        : strip_(strip), stripDc_(strip.dc.get()), blankSelected_(blankDc_.get(), BlankFace(faces, strip.face))
    {
    }
    ~CellPainter() { Flush(); }
    CellPainter(const CellPainter &) = delete;
    CellPainter &operator=(const CellPainter &) = delete;

    // Draws cell n; true when that took an icon extraction.
    bool Draw(int n)
    {
        StripSource &source = *strip_.pending;
        StripCell &cell = strip_.cellStates[n];
        auto from = EntryOf(source, n);
        ProgramEntry entry = ParseProgramEntry(from.first, CommandExtent::Token);
        bool extracted = false;
        cell.icon.reset();
        cell.stamp = {};
        strip_.names[n].clear();
        if (entry.empty) {
            CopyCell(blankDc_.get(), 0, n);
        } else {
            strip_.names[n] = SlotName(from.second, from.first, IsSystemLeadByte);
            IconKey key{std::move(entry.iconFile), entry.effectiveIconIndex};
            // The cell this icon was extracted into, if it still shows it (a swap or one
            // slot's change may have drawn another there since).
            const auto [cellOf, unseen] = source.extracted.Emplace(key);
            const StripCell *first = unseen ? nullptr : &strip_.cellStates[*cellOf];
            if (first && first->ready && first->icon == key) {
                CopyCell(stripDc_, CellTop(strip_, *cellOf), n);
                cell.stamp = first->stamp;
            } else {
                cell.stamp = StampNow(source, key.first);  // before the extraction, which may find it newer
                Flush();
                PaintBlankCell(strip_, stripDc_, blankDc_.get(), n);
                DrawProgramIcon(strip_, stripDc_, n, key.first.c_str(), key.second);
                *cellOf = n;
                extracted = true;
            }
            cell.icon = std::move(key);
        }
        cell.entry = std::move(from);
        cell.ready = true;
        return extracted;
    }

private:
    // Cell n becomes a copy of the cell at `top` in `from`. Copies of one cell
    // into cells that follow each other are gathered and made at once, doubling:
    // 9 copies for 400 cells instead of 400.
    void CopyCell(HDC from, int top, int n)
    {
        if (run_.count > 0 && run_.from == from && run_.top == top && run_.first + run_.count == n) {
            ++run_.count;
            return;
        }
        Flush();
        run_ = {from, top, n, 1};
    }

    void Flush()
    {
        if (run_.count == 0)
            return;
        const HDC strip = stripDc_;
        const int s = strip_.face.cell;
        BitBlt(strip, 0, CellTop(strip_, run_.first), 2 * s, s, run_.from, 0, run_.top, SRCCOPY);
        for (int filled = 1; filled < run_.count; filled *= 2) {
            const int n = std::min(filled, run_.count - filled);
            BitBlt(strip, 0, CellTop(strip_, run_.first + filled), 2 * s, n * s, strip, 0,
                   CellTop(strip_, run_.first), SRCCOPY);
        }
        run_.count = 0;
    }

    struct Run {
        HDC from = nullptr;
        int top = 0;
        int first = 0;
        int count = 0;
    };

    IconStrip &strip_;
    const HDC stripDc_;
    const MemoryDc blankDc_{nullptr};
    const Selection blankSelected_;
    Run run_;
};

bool Pending(const IconStrip &strip, int n)
{
    return HoldsCell(strip, n) && strip.pending && !strip.cellStates[n].ready;
}

} // namespace

void BuildIconStrip(HWND bar, IconStrip &strip, FaceResources &faces, const BarSettings &s, int dpi)
{
    const WaitCursor wait;
    FreeIconStrip(strip);

    const int cells = s.maximumPages * kStripCellsPerPage;
    strip.face = StripFaceFor(s.cellSize, dpi);
    {
        const WindowDc screen(bar);
        strip.bitmap.Reset(CreateCompatibleBitmap(screen.get(), 2 * strip.face.cell, cells * strip.face.cell));
        if (strip.bitmap) {
            strip.dc.Reset(CreateCompatibleDC(screen.get()));
            SelectObject(strip.dc.get(), strip.bitmap.get());
        }
    }
    strip.cells = cells;
    strip.names = std::vector<std::string>(static_cast<std::size_t>(cells));
    strip.cellStates = std::vector<StripCell>(static_cast<std::size_t>(cells));
    strip.pending = ReadSource();
    ReadyShownCells(strip, faces, s);
}

void RefreshIconStrip(HWND bar, IconStrip &strip, FaceResources &faces, const BarSettings &s, int dpi)
{
    if (!strip.dc || strip.cells != s.maximumPages * kStripCellsPerPage ||
        !(strip.face == StripFaceFor(s.cellSize, dpi))) {
        BuildIconStrip(bar, strip, faces, s, dpi);
        return;
    }
    const WaitCursor wait;
    strip.pending = ReadSource();
    // Every cell is looked at again before it shows, those of the grid shown at once and the
    // others while the bar is idle: kept where its entry, title and icon file are as they were
    // (an icon file replaced under the same name has another size or time), else drawn again.
    for (StripCell &cell : strip.cellStates)
        cell.ready = false;
    ReadyShownCells(strip, faces, s);
}

bool ReadyShownCells(IconStrip &strip, FaceResources &faces, const BarSettings &s)
{
    std::optional<CellPainter> painter;
    for (int k = 0; k < s.columns * s.rows; ++k) {
        const int n = SlotNumber(s, k);
        if (!Pending(strip, n) || KeepCell(strip, n))
            continue;
        if (!painter)
            painter.emplace(strip, faces);
        painter->Draw(n);
    }
    return painter.has_value();
}

void ReadyCell(IconStrip &strip, FaceResources &faces, int n)
{
    if (Pending(strip, n) && !KeepCell(strip, n))
        CellPainter(strip, faces).Draw(n);
}

bool DrawPendingCells(IconStrip &strip, FaceResources &faces, bool (*messageWaits)())
{
    if (!strip.pending)
        return false;
    int &next = strip.pending->next;
    const auto skipReady = [&] {
        while (next < strip.cells && strip.cellStates[next].ready)
            ++next;
    };
    skipReady();
    if (strip.dc && next < strip.cells) {
        // One painter for as long as nothing else waits: its DCs cost more than a copied cell.
        CellPainter painter(strip, faces);
        for (int count = 1; next < strip.cells; ++count, skipReady()) {
            const int n = next++;
            if (((!KeepCell(strip, n) && painter.Draw(n)) || count % kIdleBatch == 0) && messageWaits())
                break;
        }
    }
    skipReady();
    if (next < strip.cells && strip.dc)
        return true;
    // Every cell is drawn: the section and the icons' cells are no longer needed.
    strip.pending.reset();
    return false;
}

void RenderSlotCell(const BarView &v, HWND button, int n, const char *iconFile, int storedIndex)
{
    IconStrip &strip = v.state.strip;
    if (HoldsCell(strip, n)) {
        const MemoryDc blankDc(nullptr);
        const Selection blankSelected(blankDc.get(), BlankFace(v.state.faces, strip.face));
        PaintBlankCell(strip, strip.dc.get(), blankDc.get(), n);
        StripCell &cell = strip.cellStates[n];
        cell.icon.reset();
        if (iconFile) {
            DrawProgramIcon(strip, strip.dc.get(), n, iconFile, EffectiveIconIndex(storedIndex));
            cell.icon = IconKey{iconFile, EffectiveIconIndex(storedIndex)};
        }
        cell.entry.reset();
        cell.ready = true;
        strip.names[n] = ReadSlotName(n);
    }
    InvalidateRect(button, nullptr, TRUE);
    NameSlotButtons(v);
}

void SwapStripCells(const BarView &v, HWND window, int a, int b)
{
    IconStrip &strip = v.state.strip;
    if (HoldsCell(strip, a) && HoldsCell(strip, b) && a != b) {
        // Each cell as it was drawn before the exchange, entry and all, goes with it.
        ReadyCell(strip, v.state.faces, a);
        ReadyCell(strip, v.state.faces, b);
        const WindowDc windowDc(window);
        const int s = strip.face.cell;
        const GdiObject<HBITMAP> scratch(CreateCompatibleBitmap(windowDc.get(), 2 * s, s));
        const MemoryDc scratchDc(windowDc.get());
        const Selection scratchSelected(scratchDc.get(), scratch.get());
        const HDC stripDc = strip.dc.get();
        BitBlt(scratchDc.get(), 0, 0, 2 * s, s, stripDc, 0, CellTop(strip, a), SRCCOPY);
        BitBlt(stripDc, 0, CellTop(strip, a), 2 * s, s, stripDc, 0, CellTop(strip, b), SRCCOPY);
        BitBlt(stripDc, 0, CellTop(strip, b), 2 * s, s, scratchDc.get(), 0, 0, SRCCOPY);
        std::swap(strip.names[a], strip.names[b]);
        std::swap(strip.cellStates[a], strip.cellStates[b]);
    }
    InvalidateSlots(v);
}

void FreeIconStrip(IconStrip &strip)
{
    strip.dc.Reset();
    strip.bitmap.Reset();
    strip.cells = 0;
    strip.names.clear();
    strip.cellStates.clear();
    strip.pending.reset();
}
