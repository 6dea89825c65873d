#include "bar/faces.h"

#include <string>

#include "winkit/module.h"
#include "bar/icon_strip.h"
#include "bar/keyboard.h"
#include "bar/layout.h"
#include "res/resource.h"
#include "syspanel/panel_rules.h"
#include "winkit/dpi_rules.h"

namespace {

constexpr int kControlCell = kLargeCell / 2;  // one face of the control buttons in their bitmaps
constexpr COLORREF kPlateGrey = RGB(192, 192, 192);
constexpr int kPageNumberHeight = 16;

// A face of a resource bitmap: the cell at (x, y), w x h, onto the button at
// (0, 0) with size dw x dh: shrunk as it always was, or grown crisp.
void PaintFromResource(const FaceInput &in, int bitmapId, int x, int y, int w, int h, int dw, int dh)
{
    const MemoryDc source(in.dc);
    const Selection selected(source.get(), FaceBitmap(in.resources, bitmapId));
    if (dw < w)
        StretchBlt(in.dc, 0, 0, dw, dh, source.get(), x, y, w, h, SRCCOPY);
    else
        PaintArtFace(in.dc, 0, 0, dw, dh, source.get(), x, y, w, h);
}

// The 19 x 19 face of a control bitmap: raised column at x 0, pressed at x 19.
void PaintControlCell(const FaceInput &in, int bitmapId, int row)
{
    PaintFromResource(in, bitmapId, in.pressed ? kControlCell : 0, row * kControlCell, kControlCell, kControlCell,
                      in.cellSize / 2, in.cellSize / 2);
}

void DrawSystemPanelFace(const FaceInput &in, int action)
{
    FillRect(in.dc, &in.area, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    if (action < 0 || action >= kPanelActions)
        return;
    const MemoryDc art(in.dc);
    const Selection selected(art.get(), FaceBitmap(in.resources, IDB_SYSTEM_PANEL));
    PaintArtFace(in.dc, 0, 0, in.cellSize, in.cellSize, art.get(), in.pressed ? kStripCellSize : 0,
                 action * kStripCellSize, kStripCellSize, kStripCellSize);
}

bool IsSlot(int id)
{
    return id >= IDC_FIRST_SLOT && id < IDC_FIRST_SLOT + kStripCellsPerPage;
}

// What the face of button `id` shows, as the bar holds it now.
FaceInput FaceOf(const BarView &v, int id, HDC dc, const RECT &area, bool pressed)
{
    const BarSettings &s = v.settings;
    FaceInput in{.resources = v.state.faces, .dc = dc, .area = area, .id = id, .pressed = pressed,
                 .cellSize = GridOf(v).s, .dpi = v.state.dpi, .topmost = (s.mode & Topmost) != 0, .page = s.currentPage,
                 .smallButtons = (s.mode & SmallButtons) != 0};
    if (IsSlot(id)) {
        const int position = id - IDC_FIRST_SLOT;
        in.strip = &v.state.strip;
        in.cell = SlotNumber(s, position);
        in.hatched = v.state.move.on;
        if (v.panel.shown)
            in.panelAction = PanelActionIndex(position, s.columns * s.rows);
    }
    return in;
}

// The slot's cell from `strip` (a DC holding the strip) onto the face. Large buttons show
// the cell as it is: a plain copy, cheaper than a stretch to the same size.
void CopyCell(const FaceInput &in, HDC strip)
{
    const int s = in.cellSize, from = in.strip->face.cell;
    const int sourceX = in.pressed ? from : 0, top = in.cell * from;
    if (s == from)
        BitBlt(in.dc, 0, 0, s, s, strip, sourceX, top, SRCCOPY);
    else
        StretchBlt(in.dc, 0, 0, s, s, strip, sourceX, top, from, from, SRCCOPY);
}

} // namespace

void DrawSlotFace(const FaceInput &in)
{
    if (in.panelAction) {
        DrawSystemPanelFace(in, *in.panelAction);
        return;
    }
    const int s = in.cellSize;
    if (in.strip && in.strip->dc && in.cell >= 0 && in.cell < in.strip->cells) {
        CopyCell(in, in.strip->dc.get());
    } else {
        // No cell for this slot (no strip yet, or a page beyond the strip): an empty face.
        PaintFromResource(in, IDB_BLANK_FACE, in.pressed ? kStripCellSize : 0, 0, kStripCellSize, kStripCellSize, s, s);
    }
    if (in.hatched) {
        // The mark's hatch repeats every 3 pixels: copies 30 apart at its whole factor cover
        // the scaled square crisp, their lines meeting.
        const int at = ScaleToDpi(2, in.dpi), size = ScaleToDpi(32, in.dpi), f = ArtFactor(in.dpi), side = 32 * f;
        const OwnedIcon mark(static_cast<HICON>(
            LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MOVE_MARK), IMAGE_ICON, side, side, 0)));
        const int saved = SaveDC(in.dc);
        IntersectClipRect(in.dc, at, at, at + size, at + size);
        for (int y = 0; y < size; y += 30 * f)
            for (int x = 0; x < size; x += 30 * f)
                DrawIconEx(in.dc, at + x, at + y, mark.get(), side, side, 0, nullptr, DI_NORMAL);
        RestoreDC(in.dc, saved);
    }
}

void DrawPageArrowFace(const FaceInput &in)
{
    PaintControlCell(in, IDB_PAGE_ARROWS, in.id == IDC_NEXT_PAGE ? 1 : 0);
}

void DrawPinFace(const FaceInput &in)
{
    PaintControlCell(in, IDB_PIN, in.topmost ? 1 : 0);
}

void DrawPanelToggleFace(const FaceInput &in)
{
    PaintControlCell(in, IDB_PANEL_TOGGLE, 0);
}

namespace {

// The page number's width in `font` on `dc`.
int NumberWidth(HDC dc, HFONT font, const std::string &text)
{
    const Selection selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Two digits in the page number's face, narrowed until they fit `room` pixels: the
// number's own face is as wide as the whole button.
HFONT TwoDigitFont(FaceResources &faces, HDC dc, int room, int height)
{
    GdiObject<HGDIOBJ> &kept = faces.twoDigits[room];
    const auto fits = [&](HFONT font) {
        for (int page = 10; page <= kMaxPages; ++page)
            if (NumberWidth(dc, font, std::to_string(page)) > room)
                return false;
        return true;
    };
    TEXTMETRICA tm{};
    {
        const Selection selected(dc, faces.pageNumber.get());
        GetTextMetricsA(dc, &tm);
    }
    for (int width = tm.tmAveCharWidth; !kept && width > 0; --width) {
        kept.Reset(CreateFontA(height, width, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
        if (width > 1 && !fits(static_cast<HFONT>(kept.get())))
            kept.Reset();
    }
    return static_cast<HFONT>(kept.get());
}

} // namespace

void DrawPageNumberFace(const FaceInput &in)
{
    PaintFromResource(in, IDB_PAGE_PLATE, in.pressed ? kControlCell : 0, 0, kControlCell, 2 * kControlCell,
                      in.cellSize / 2, in.cellSize);

    const int height = ScaleToDpi(kPageNumberHeight, in.dpi);
    if (!in.resources.pageNumber)
        in.resources.pageNumber.Reset(CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    const std::string text = std::to_string(in.page);
    // One digit stands where it always has. Two stand whole and centred between the plate's
    // rims, in the face narrowed as far as that needs.
    const int width = in.cellSize / 2, room = width - 2;
    const int y = ScaleToDpi(in.smallButtons ? 4 : 9, in.dpi);
    int x = y;
    HFONT font = in.resources.pageNumber.get();
    if (text.size() > 1) {
        if (NumberWidth(in.dc, font, text) > room)
            font = TwoDigitFont(in.resources, in.dc, room, height);
        x = (width - NumberWidth(in.dc, font, text)) / 2;
    }
    const Selection selected(in.dc, font);
    // The background stays opaque: the digits stand on a box of the plate's grey.
    const COLORREF oldBack = SetBkColor(in.dc, kPlateGrey);
    const COLORREF oldText = SetTextColor(in.dc, RGB(0, 0, 0));
    // The digits stay put when the plate is pressed.
    TextOutA(in.dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(in.dc, oldText);
    SetBkColor(in.dc, oldBack);
}

void DrawFace(const FaceInput &in)
{
    if (IsSlot(in.id))
        DrawSlotFace(in);
    else if (in.id == IDC_PREV_PAGE || in.id == IDC_NEXT_PAGE)
        DrawPageArrowFace(in);
    else if (in.id == IDC_PIN)
        DrawPinFace(in);
    else if (in.id == IDC_SYSTEM_PANEL)
        DrawPanelToggleFace(in);
    else if (in.id == IDC_PAGE_NUMBER)
        DrawPageNumberFace(in);
}

LRESULT DrawButtonFace(const BarView &v, const DRAWITEMSTRUCT *dis)
{
    if (!dis)
        return 0;
    // Every action repaints the whole face; the focus mark only once keys are in use.
    if (dis->itemAction != ODA_DRAWENTIRE && dis->itemAction != ODA_SELECT && dis->itemAction != ODA_FOCUS)
        return 0;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
    const FaceInput in = FaceOf(v, static_cast<int>(dis->CtlID), dis->hDC, dis->rcItem, pressed);
    // A cell the idle drawing has not reached yet is drawn now rather than shown blank.
    if (in.strip && !in.panelAction)
        ReadyCell(v.state.strip, v.state.faces, in.cell);
    DrawFace(in);
    DrawFocusMark(v.state.keys.keysUsed, GridOf(v).s, v.state.dpi, *dis);
    return 0;
}

void DrawPageNumberNow(const BarView &v)
{
    const HWND button = ControlButton(v.state.buttons, IDC_PAGE_NUMBER);
    const WindowDc dc(button);
    RECT area{};
    GetClientRect(button, &area);
    const FaceInput in = FaceOf(v, IDC_PAGE_NUMBER, dc.get(), area, false);
    // The same painter into a bitmap of the button's size, which clips the digits as the button does.
    NumberPlate &plate = in.resources.numberPlates[(in.page * 2 + in.smallButtons) * 256 + in.cellSize];
    if (!plate.dc) {
        plate.bitmap.Reset(CreateCompatibleBitmap(dc.get(), area.right, area.bottom));
        plate.dc.Reset(CreateCompatibleDC(dc.get()));
        SelectObject(plate.dc.get(), plate.bitmap.get());
        FaceInput into = in;
        into.dc = plate.dc.get();
        DrawPageNumberFace(into);
    }
    BitBlt(dc.get(), 0, 0, area.right, area.bottom, plate.dc.get(), 0, 0, SRCCOPY);
}

void DrawSlotFacesNow(const BarView &v)
{
    const std::vector<HWND> &slots = v.state.buttons.slots;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const WindowDc dc(slots[k]);
        DrawSlotFace(FaceOf(v, IDC_FIRST_SLOT + static_cast<int>(k), dc.get(), {0, 0, GridOf(v).s, GridOf(v).s}, false));
    }
}
