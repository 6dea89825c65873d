#include "bar/faces.h"

#include <string>

#include "winkit/module.h"
#include "app/app_state.h"
#include "ini/settings.h"
#include "bar/icon_strip.h"
#include "bar/keyboard.h"
#include "bar/layout.h"
#include "res/resource.h"
#include "syspanel/panel_rules.h"

HBITMAP FaceBitmap(int bitmapId)
{
    GdiObject<HBITMAP> &kept = gBar.faces.bitmaps[bitmapId];
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

int CellSize()
{
    return gSettings.cellSize;
}

int HalfCell()
{
    return gSettings.cellSize / 2;
}

// A face of a resource bitmap: the cell at (x, y), w x h, stretched onto the
// button at (0, 0) with size dw x dh.
void PaintFromResource(HDC dc, int bitmapId, int x, int y, int w, int h, int dw, int dh)
{
    const MemoryDc source(dc);
    const Selection selected(source.get(), FaceBitmap(bitmapId));
    StretchBlt(dc, 0, 0, dw, dh, source.get(), x, y, w, h, SRCCOPY);
}

// The 19 x 19 face of a control bitmap: raised column at x 0, pressed at x 19.
void PaintControlCell(const DRAWITEMSTRUCT &dis, int bitmapId, int row)
{
    PaintFromResource(dis.hDC, bitmapId, Pressed(dis) ? kControlCell : 0, row * kControlCell, kControlCell,
                      kControlCell, HalfCell(), HalfCell());
}

void DrawSystemPanelFace(const DRAWITEMSTRUCT &dis)
{
    FillRect(dis.hDC, &dis.rcItem, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    const int action = PanelActionIndex(static_cast<int>(dis.CtlID) - IDC_FIRST_SLOT, gSettings.columns * gSettings.rows);
    if (action < 0 || action >= kPanelActions)
        return;
    PaintFromResource(dis.hDC, IDB_SYSTEM_PANEL, Pressed(dis) ? kStripCellSize : 0, action * kStripCellSize,
                      kStripCellSize, kStripCellSize, CellSize(), CellSize());
}

} // namespace

void DrawSlotFace(const DRAWITEMSTRUCT &dis)
{
    if (gSystemPanel.shown) {
        DrawSystemPanelFace(dis);
        return;
    }
    const int s = CellSize();
    const int sourceX = Pressed(dis) ? kStripCellSize : 0;
    const int n = SlotNumber(gSettings, static_cast<int>(dis.CtlID) - IDC_FIRST_SLOT);
    if (gBar.strip.bitmap && n >= 0 && n < gBar.strip.cells) {
        const MemoryDc strip(dis.hDC);
        const Selection selected(strip.get(), gBar.strip.bitmap.get());
        StretchBlt(dis.hDC, 0, 0, s, s, strip.get(), sourceX, n * kStripCellSize, kStripCellSize, kStripCellSize,
                   SRCCOPY);
    } else {
        // No cell for this slot (no strip yet, or a page beyond the strip): an empty face.
        PaintFromResource(dis.hDC, IDB_BLANK_FACE, sourceX, 0, kStripCellSize, kStripCellSize, s, s);
    }
    if (gBar.move.on)
        DrawIcon(dis.hDC, 2, 2, LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_MOVE_MARK)));
}

void DrawPageArrowFace(const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(dis, IDB_PAGE_ARROWS, dis.CtlID == IDC_NEXT_PAGE ? 1 : 0);
}

void DrawPinFace(const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(dis, IDB_PIN, (gSettings.mode & Topmost) ? 1 : 0);
}

void DrawPanelToggleFace(const DRAWITEMSTRUCT &dis)
{
    PaintControlCell(dis, IDB_PANEL_TOGGLE, 0);
}

void DrawPageNumberFace(const DRAWITEMSTRUCT &dis)
{
    PaintFromResource(dis.hDC, IDB_PAGE_PLATE, Pressed(dis) ? kControlCell : 0, 0, kControlCell, 2 * kControlCell,
                      HalfCell(), CellSize());

    if (!gBar.faces.pageNumber)
        gBar.faces.pageNumber.Reset(CreateFontA(16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    const Selection selected(dis.hDC, gBar.faces.pageNumber.get());
    // The background stays opaque: the digits stand on a box of the plate's grey.
    const COLORREF oldBack = SetBkColor(dis.hDC, kPlateGrey);
    const COLORREF oldText = SetTextColor(dis.hDC, RGB(0, 0, 0));
    const std::string text = std::to_string(gSettings.currentPage);
    // The digits stay put when the plate is pressed; what is wider than the button is clipped by it.
    const int at = (gSettings.mode & SmallButtons) ? 4 : 9;
    TextOutA(dis.hDC, at, at, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(dis.hDC, oldText);
    SetBkColor(dis.hDC, oldBack);
}

LRESULT DrawButtonFace(HWND bar, const DRAWITEMSTRUCT *dis)
{
    if (!dis)
        return 0;
    // Every action repaints the whole face; the focus mark only once keys are in use.
    if (dis->itemAction != ODA_DRAWENTIRE && dis->itemAction != ODA_SELECT && dis->itemAction != ODA_FOCUS)
        return 0;
    const int id = static_cast<int>(dis->CtlID);
    if (id >= IDC_FIRST_SLOT && id < IDC_FIRST_SLOT + kStripCellsPerPage)
        DrawSlotFace(*dis);
    else if (id == IDC_PREV_PAGE || id == IDC_NEXT_PAGE)
        DrawPageArrowFace(*dis);
    else if (id == IDC_PIN)
        DrawPinFace(*dis);
    else if (id == IDC_SYSTEM_PANEL)
        DrawPanelToggleFace(*dis);
    else if (id == IDC_PAGE_NUMBER)
        DrawPageNumberFace(*dis);
    DrawFocusMark(*dis);
    return 0;
}

void DrawFaceNow(HWND button, int id, void (*paint)(const DRAWITEMSTRUCT &))
{
    const WindowDc dc(button);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(id);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = button;
    dis.hDC = dc.get();
    GetClientRect(button, &dis.rcItem);
    paint(dis);
}
