#include "bar/faces.h"

#include <string>

#include "winkit/module.h"
#include "ini/settings.h"
#include "bar/icon_strip.h"
#include "bar/keyboard.h"
#include "bar/layout.h"
#include "res/resource.h"
#include "syspanel/panel_rules.h"

HBITMAP FaceBitmap(FaceResources &faces, int bitmapId)
{
    GdiObject<HBITMAP> &kept = faces.bitmaps[bitmapId];
    if (!kept)
        kept.Reset(LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(bitmapId)));
    return kept.get();
}

namespace {

constexpr int kControlCell = kLargeCell / 2;  // one face of the control buttons in their bitmaps
constexpr COLORREF kPlateGrey = RGB(192, 192, 192);

bool Pressed(const DRAWITEMSTRUCT &dis)
{
    return (dis.itemState & ODS_SELECTED) != 0;
}


// A face of a resource bitmap: the cell at (x, y), w x h, stretched onto the
// button at (0, 0) with size dw x dh.
void PaintFromResource(FaceResources &faces, HDC dc, int bitmapId, int x, int y, int w, int h, int dw, int dh)
{
    const MemoryDc source(dc);
    const Selection selected(source.get(), FaceBitmap(faces, bitmapId));
    StretchBlt(dc, 0, 0, dw, dh, source.get(), x, y, w, h, SRCCOPY);
}

// The 19 x 19 face of a control bitmap: raised column at x 0, pressed at x 19.
void PaintControlCell(const BarView &v, const DRAWITEMSTRUCT &dis, int bitmapId, int row)
{
    PaintFromResource(v.state.faces, dis.hDC, bitmapId, Pressed(dis) ? kControlCell : 0, row * kControlCell, kControlCell,
                      kControlCell, v.settings.cellSize / 2, v.settings.cellSize / 2);
}

void DrawSystemPanelFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    FillRect(dis.hDC, &dis.rcItem, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    const int action = PanelActionIndex(static_cast<int>(dis.CtlID) - IDC_FIRST_SLOT, v.settings.columns * v.settings.rows);
    if (action < 0 || action >= kPanelActions)
        return;
    PaintFromResource(v.state.faces, dis.hDC, IDB_SYSTEM_PANEL, Pressed(dis) ? kStripCellSize : 0, action * kStripCellSize,
                      kStripCellSize, kStripCellSize, v.settings.cellSize, v.settings.cellSize);
}

} // namespace

void DrawSlotFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    if (v.panel.shown) {
        DrawSystemPanelFace(v, dis);
        return;
    }
    const int s = v.settings.cellSize;
    const int sourceX = Pressed(dis) ? kStripCellSize : 0;
    const int n = SlotNumber(v.settings, static_cast<int>(dis.CtlID) - IDC_FIRST_SLOT);
    if (v.state.strip.bitmap && n >= 0 && n < v.state.strip.cells) {
        const MemoryDc strip(dis.hDC);
        const Selection selected(strip.get(), v.state.strip.bitmap.get());
        StretchBlt(dis.hDC, 0, 0, s, s, strip.get(), sourceX, n * kStripCellSize, kStripCellSize, kStripCellSize,
                   SRCCOPY);
    } else {
        // No cell for this slot (no strip yet, or a page beyond the strip): an empty face.
        PaintFromResource(v.state.faces, dis.hDC, IDB_BLANK_FACE, sourceX, 0, kStripCellSize, kStripCellSize, s, s);
    }
    if (v.state.move.on)
        DrawIcon(dis.hDC, 2, 2, LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_MOVE_MARK)));
}

void DrawPageArrowFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(v, dis, IDB_PAGE_ARROWS, dis.CtlID == IDC_NEXT_PAGE ? 1 : 0);
}

void DrawPinFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(v, dis, IDB_PIN, (v.settings.mode & Topmost) ? 1 : 0);
}

void DrawPanelToggleFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(v, dis, IDB_PANEL_TOGGLE, 0);
}

void DrawPageNumberFace(const BarView &v, const DRAWITEMSTRUCT &dis)
{
    PaintFromResource(v.state.faces, dis.hDC, IDB_PAGE_PLATE, Pressed(dis) ? kControlCell : 0, 0, kControlCell, 2 * kControlCell,
                      v.settings.cellSize / 2, v.settings.cellSize);

    if (!v.state.faces.pageNumber)
        v.state.faces.pageNumber.Reset(CreateFontA(16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    const Selection selected(dis.hDC, v.state.faces.pageNumber.get());
    // The background stays opaque: the digits stand on a box of the plate's grey.
    const COLORREF oldBack = SetBkColor(dis.hDC, kPlateGrey);
    const COLORREF oldText = SetTextColor(dis.hDC, RGB(0, 0, 0));
    const std::string text = std::to_string(v.settings.currentPage);
    // The digits stay put when the plate is pressed; what is wider than the button is clipped by it.
    const int at = (v.settings.mode & SmallButtons) ? 4 : 9;
    TextOutA(dis.hDC, at, at, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(dis.hDC, oldText);
    SetBkColor(dis.hDC, oldBack);
}

LRESULT DrawButtonFace(const BarView &v, const DRAWITEMSTRUCT *dis)
{
    if (!dis)
        return 0;
    // Every action repaints the whole face; the focus mark only once keys are in use.
    if (dis->itemAction != ODA_DRAWENTIRE && dis->itemAction != ODA_SELECT && dis->itemAction != ODA_FOCUS)
        return 0;
    const int id = static_cast<int>(dis->CtlID);
    if (id >= IDC_FIRST_SLOT && id < IDC_FIRST_SLOT + kStripCellsPerPage)
        DrawSlotFace(v, *dis);
    else if (id == IDC_PREV_PAGE || id == IDC_NEXT_PAGE)
        DrawPageArrowFace(v, *dis);
    else if (id == IDC_PIN)
        DrawPinFace(v, *dis);
    else if (id == IDC_SYSTEM_PANEL)
        DrawPanelToggleFace(v, *dis);
    else if (id == IDC_PAGE_NUMBER)
        DrawPageNumberFace(v, *dis);
    DrawFocusMark(v.state.keys.keysUsed, v.settings.cellSize, *dis);
    return 0;
}

void DrawFaceNow(const BarView &v, HWND button, int id, void (*paint)(const BarView &, const DRAWITEMSTRUCT &))
{
    const WindowDc dc(button);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(id);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = button;
    dis.hDC = dc.get();
    GetClientRect(button, &dis.rcItem);
    paint(v, dis);
}
