// The bar's resources as Windows decodes them, and every face painter
// drawing into a memory canvas through DrawButtonFace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "app/settings.h"
#include "bar/faces.h"
#include "bar/layout.h"
#include "faces_pixels.h"
#include "tools/face_art.h"

using namespace facetest;

namespace {

COLORREF PaletteColour(std::uint8_t index)
{
    const Rgb c = kVgaPalette[index];
    return RGB(c.r, c.g, c.b);
}

// ---- Resources ------------------------------------------------------------

// Pixels of the canvas that differ from the drawing (transparent: magenta).
int WrongPixels(const MemoryCanvas &c, const Raster &drawn)
{
    int wrong = 0;
    for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < drawn.width; ++x) {
            const std::uint8_t p = drawn.At(x, y);
            if (c.At(x, y) != (p == kTransparent ? kUnpainted : PaletteColour(p)) && ++wrong < 5)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    return wrong;
}

TEST(Resources, BitmapsDecodeToWhatWasDrawn)
{
    gApp.instance = GetModuleHandleA(nullptr);
    const struct {
        int id;
        std::function<Raster()> drawing;
    } bitmaps[] = {
        {IDB_BLANK_FACE, BlankFaceBitmap},       {IDB_PAGE_ARROWS, PageArrowsBitmap},
        {IDB_PIN, PinBitmap},                    {IDB_PANEL_TOGGLE, PanelToggleBitmap},
        {IDB_PAGE_PLATE, PageNumberPlateBitmap}, {IDB_SYSTEM_PANEL, SystemPanelBitmap},
    };
    for (const auto &b : bitmaps) {
        SCOPED_TRACE(b.id);
        const Raster drawn = b.drawing();
        HBITMAP loaded = LoadBitmapA(gApp.instance, MAKEINTRESOURCEA(b.id));
        ASSERT_TRUE(loaded) << "LoadBitmapA of the BI_RLE4 bitmap";
        const SIZE size = tavtest::BitmapSize(loaded);
        DeleteObject(loaded);
        EXPECT_EQ(size.cx, drawn.width);
        EXPECT_EQ(size.cy, drawn.height);
        MemoryCanvas c(drawn.width, drawn.height);
        ResourceFace(b.id, c);
        EXPECT_EQ(WrongPixels(c, drawn), 0);
    }
}

TEST(Resources, IconsAndCursorDecodeToWhatWasDrawn)
{
    gApp.instance = GetModuleHandleA(nullptr);
    const CursorPicture cursor = WaitCursor();
    const struct {
        int id;
        Raster drawn;
    } icons[] = {
        {IDI_TAV, ProgramIcon()},        {IDI_DEFAULT_PROGRAM, DefaultProgramIcon()},
        {113, AnimationIcon(0)},         {114, AnimationIcon(1)},
        {115, AnimationIcon(2)},         {116, AnimationIcon(3)},
        {IDI_MOVE_MARK, MoveMarkIcon()}, {IDCUR_WAIT, cursor.picture},
    };
    for (const auto &i : icons) {
        SCOPED_TRACE(i.id);
        const HICON icon = i.id == IDCUR_WAIT ? LoadCursorA(gApp.instance, MAKEINTRESOURCEA(IDCUR_WAIT))
                                              : ResourceIcon(i.id);
        MemoryCanvas c(32, 32);
        ASSERT_TRUE(DrawIcon(c.dc(), 0, 0, icon));
        EXPECT_EQ(WrongPixels(c, i.drawn), 0);
    }
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(LoadCursorA(gApp.instance, MAKEINTRESOURCEA(IDCUR_WAIT)), &info));
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    EXPECT_EQ(static_cast<int>(info.xHotspot), cursor.hotX);
    EXPECT_EQ(static_cast<int>(info.yHotspot), cursor.hotY);

    // The move mark's drawing itself: a hatch of every third diagonal.
    const Raster hatch = MoveMarkIcon();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(hatch.At(x, y) == kTransparent ? kUnpainted : PaletteColour(hatch.At(x, y)),
                      (x - y) % 3 == 0 ? kLightGrey : kUnpainted)
                << x << "," << y;
}

// ---- Painters ---------------------------------------------------------------

class FacesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gApp.instance = GetModuleHandleA(nullptr);
        gSettings = BarSettings{};
        gSystemPanel.shown = false;
        gMove = MoveState{};
        bar_ = MakeWindow();
    }
    void TearDown() override
    {
        FreeIconStrip();
        gSystemPanel.shown = false;
        gMove = MoveState{};
        DestroyWindow(bar_);
        tavtest::DeleteIni();
    }

    void UseSmallButtons(bool small)
    {
        gSettings.mode = small ? (gSettings.mode | SmallButtons) : (gSettings.mode & ~SmallButtons);
        gSettings.cellSize = small ? 30 : 38;
    }

    // Paints button `id` into a canvas bigger than any face, so a face that
    // is too large shows.
    void Paint(int id, bool pressed, MemoryCanvas &c, UINT action = ODA_DRAWENTIRE)
    {
        c.Fill(kUnpainted);
        const int s = gSettings.cellSize;
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(id);
        dis.itemAction = action;
        dis.itemState = pressed ? ODS_SELECTED : 0;
        dis.hDC = c.dc();
        dis.rcItem = {0, 0, s, s};
        EXPECT_EQ(DrawButtonFace(bar_, &dis), 0);
    }

    void BuildFromIni(const std::string &programSection)
    {
        tavtest::WriteIni("[program section]\r\n" + programSection);
        BuildIconStrip(bar_);
    }

    HWND bar_ = nullptr;
};

TEST_F(FacesTest, SlotFaceIsTheStripCellOfItsSlotNumber)
{
    gSettings.maximumPages = 3;
    BuildFromIni("profile001=" + Entry(IconLibrary(), 0) + "\r\nprofile006=" + Entry(IconLibrary(), 1) +
                 "\r\nprofile013=" + Entry(IconLibrary(), 3) + "\r\n");
    const struct {
        int page, columns, rows, id, slotNumber;
    } cases[] = {
        {1, 5, 1, 1001, 1},   // horizontal, page 1
        {2, 5, 1, 1001, 6},   // page 2 of five slots
        {2, 1, 7, 1006, 13},  // vertical, seven slots
        {3, 8, 1, 1000, 16},  // an empty slot
    };
    for (const auto &c : cases)
        for (bool pressed : {false, true}) {
            SCOPED_TRACE("slot " + std::to_string(c.slotNumber) + (pressed ? " pressed" : " raised"));
            gSettings.currentPage = c.page;
            gSettings.columns = c.columns;
            gSettings.rows = c.rows;
            MemoryCanvas face(40, 40), cell(kStripWidth, kStripCellSize);
            Paint(c.id, pressed, face);
            CopyStripCell(c.slotNumber, cell);
            EXPECT_TRUE(face.SameAs(cell, 0, 0, 38, 38, pressed ? 38 : 0, 0)) << face.Dump(0, 0, 6, 6);
            EXPECT_EQ(face.Count(kUnpainted, Area(40, 40)), 40 * 40 - 38 * 38) << "exactly 38 x 38";
        }
}

TEST_F(FacesTest, SmallButtonsScaleEveryFace)
{
    UseSmallButtons(true);
    BuildFromIni("profile000=" + Entry(IconLibrary(), 0) + "\r\n");
    const struct {
        int id, w, h;
        COLORREF ink;  // a colour of the face's content that must survive scaling
    } cases[] = {
        {1000, 30, 30, kRed},  // the clock's hand
        {IdPrevPage, 15, 15, kNavy},
        {IdNextPage, 15, 15, kNavy},
        {IdPin, 15, 15, kMaroon},
        {IdSystemPanel, 15, 15, kDarkGreen},
        {IdPageNumber, 15, 30, kBlack},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        MemoryCanvas face(40, 40);
        Paint(c.id, false, face);
        EXPECT_EQ(face.Count(kUnpainted, Area(c.w, c.h)), 0) << "the whole face is painted";
        EXPECT_EQ(face.Count(kUnpainted, Area(40, 40)), 40 * 40 - c.w * c.h) << "nothing beyond it";
        EXPECT_EQ(face.At(0, 0), kBlack);
        EXPECT_EQ(face.At(c.w - 1, c.h - 1), kBlack);
        EXPECT_GT(face.Count(c.ink, RECT{1, 1, c.w - 1, c.h - 1}), 0);
    }
}

TEST_F(FacesTest, MoveModeLaysTheHatchOverEverySlot)
{
    BuildFromIni("profile000=" + Entry(IconLibrary(), 2) + "\r\n");
    for (int id : {1000, 1004}) {  // a registered and an empty slot
        for (bool pressed : {false, true}) {
            SCOPED_TRACE(std::to_string(id) + (pressed ? " pressed" : " raised"));
            MemoryCanvas plain(38, 38), marked(38, 38);
            gMove.on = false;
            Paint(id, pressed, plain);
            gMove.on = true;
            Paint(id, pressed, marked);
            for (int y = 0; y < 38; ++y)
                for (int x = 0; x < 38; ++x) {
                    const bool hatch = x >= 2 && y >= 2 && x < 34 && y < 34 && (x - y) % 3 == 0;
                    ASSERT_EQ(marked.At(x, y), hatch ? kLightGrey : plain.At(x, y)) << x << "," << y;
                }
        }
    }
}

TEST_F(FacesTest, SystemPanelFacesOnTheLastFiveSlots)
{
    BuildFromIni("profile000=" + Entry(IconLibrary(), 0) + "\r\n");
    gSystemPanel.shown = true;
    gMove.on = true;  // the panel's faces carry no hatch
    const struct {
        int columns, rows;
    } grids[] = {{5, 1}, {1, 7}, {20, 1}};
    for (const auto &g : grids) {
        gSettings.columns = g.columns;
        gSettings.rows = g.rows;
        const int slots = g.columns * g.rows;
        for (int k = 0; k < slots; ++k)
            for (bool pressed : {false, true}) {
                SCOPED_TRACE(std::to_string(slots) + " slots, slot " + std::to_string(k) +
                             (pressed ? " pressed" : ""));
                MemoryCanvas face(38, 38);
                Paint(kFirstSlotId + k, pressed, face);
                const int action = k - (slots - 5);
                if (action < 0) {
                    EXPECT_EQ(face.Count(kLightGrey, Area(38, 38)), 38 * 38) << "plain light grey";
                    continue;
                }
                MemoryCanvas expected(38, 38);
                ResourceFace(IDB_SYSTEM_PANEL, expected, pressed ? 38 : 0, 38 * action);
                EXPECT_TRUE(face.SameAs(expected)) << "panel face " << action;
            }
    }
}

TEST_F(FacesTest, ControlFacesPickTheirCell)
{
    const struct {
        int id;
        unsigned mode;
        int bitmap, row;
    } cases[] = {
        {IdPrevPage, 0, IDB_PAGE_ARROWS, 0},
        {IdNextPage, 0, IDB_PAGE_ARROWS, 1},
        {IdPin, 0, IDB_PIN, 0},               // not pinned: up arrow
        {IdPin, Topmost, IDB_PIN, 1},         // pinned: down arrow
        {IdSystemPanel, 0, IDB_PANEL_TOGGLE, 0},
    };
    for (const auto &c : cases)
        for (bool panel : {false, true})
            for (bool pressed : {false, true}) {
                SCOPED_TRACE(std::to_string(c.id) + " mode " + std::to_string(c.mode) + (panel ? " panel" : "") +
                             (pressed ? " pressed" : ""));
                gSettings.mode = c.mode;
                gSystemPanel.shown = panel;  // the toggle's face does not change with the panel
                MemoryCanvas face(38, 38), expected(19, 19);
                Paint(c.id, pressed, face);
                ResourceFace(c.bitmap, expected, pressed ? 19 : 0, 19 * c.row);
                EXPECT_TRUE(face.SameAs(expected, 0, 0, 19, 19, 0, 0));
                EXPECT_EQ(face.Count(kUnpainted, Area(38, 38)), 38 * 38 - 19 * 19);
            }
}

TEST_F(FacesTest, PageNumberStandsAtItsPoint)
{
    const struct {
        bool small;
        int at;
        int page;
        const char *text;
    } cases[] = {{false, 9, 7, "7"}, {true, 4, 7, "7"}, {false, 9, 1, "1"}, {true, 4, 20, "20"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.small ? "small buttons, page " : "large buttons, page ") + c.text);
        UseSmallButtons(c.small);
        const int h = gSettings.cellSize / 2, s = gSettings.cellSize;
        gSettings.currentPage = c.page;
        MemoryCanvas reference(40, 40);
        reference.Fill(kLightGrey);
        DrawPageDigits(c.text, c.at, reference);
        for (bool pressed : {false, true}) {
            MemoryCanvas face(40, 40);
            Paint(IdPageNumber, pressed, face);
            // Inside the plate's frame, black is the digits, wherever the plate is pressed.
            int ink = 0;
            for (int y = 1; y < s - 1; ++y)
                for (int x = 1; x < h - 1; ++x) {
                    ink += face.At(x, y) == kBlack;
                    ASSERT_EQ(face.At(x, y) == kBlack, reference.At(x, y) == kBlack)
                        << (pressed ? "pressed " : "raised ") << x << "," << y << "\n"
                        << face.Dump(0, 0, h, s);
                }
            EXPECT_GT(ink, 5);
        }
    }
}

TEST_F(FacesTest, OtherActionsAndIdsPaintNothing)
{
    BuildFromIni("profile000=" + Entry(IconLibrary(), 0) + "\r\n");
    const struct {
        int id;
        UINT action;
    } cases[] = {
        {1000, 0}, {1000, 8}, {IdPageNumber, ODA_DRAWENTIRE | ODA_FOCUS},
        {999, ODA_DRAWENTIRE}, {500, ODA_DRAWENTIRE}, {506, ODA_DRAWENTIRE}, {1020, ODA_DRAWENTIRE},
    };
    for (const auto &c : cases) {
        MemoryCanvas face(40, 40);
        Paint(c.id, false, face, c.action);
        EXPECT_EQ(face.Count(kUnpainted, Area(40, 40)), 40 * 40) << c.id << " action " << c.action;
    }
    for (UINT action : {ODA_DRAWENTIRE, ODA_SELECT, ODA_FOCUS}) {
        MemoryCanvas face(40, 40);
        Paint(1000, false, face, action);
        EXPECT_EQ(face.Count(kUnpainted, Area(38, 38)), 0) << "action " << action;
    }
    EXPECT_EQ(DrawButtonFace(bar_, nullptr), 0);
}

TEST_F(FacesTest, PaintingReadsNeitherTheFileNorTheIcons)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string copy = std::string(temp) + "tav_paint_icons.dll";
    ASSERT_TRUE(CopyFileA(IconLibrary().c_str(), copy.c_str(), FALSE));
    BuildFromIni("profile000=" + Entry(copy, 0) + "\r\n");
    MemoryCanvas before(38, 38);
    Paint(1000, false, before);

    // Behind the bar's back: another program in the slot, the icon file gone.
    tavtest::WriteIni("[program section]\r\nprofile000=" + Entry(IconLibrary(), 3) + "\r\nprofile001=" +
                      Entry(IconLibrary(), 1) + "\r\n");
    ASSERT_TRUE(DeleteFileA(copy.c_str()));
    MemoryCanvas after(38, 38), empty(38, 38);
    Paint(1000, false, after);
    Paint(1001, false, empty);
    EXPECT_TRUE(after.SameAs(before)) << "the old face";
    MemoryCanvas blank(38, 38);
    ResourceFace(IDB_BLANK_FACE, blank);
    EXPECT_TRUE(empty.SameAs(blank)) << "the slot the file now fills is still empty";

    // A reload shows the new faces.
    BuildIconStrip(bar_);
    MemoryCanvas reloaded(38, 38), expected(kStripWidth, kStripCellSize);
    Paint(1000, false, reloaded);
    ExpectedCell(ResourceIcon(116), expected);
    EXPECT_TRUE(reloaded.SameAs(expected, 0, 0, 38, 38, 0, 0));
}

TEST_F(FacesTest, SlotWithoutACellShowsTheBlankFace)
{
    // No strip yet, or a page the strip does not hold (a hand-edited startup page).
    MemoryCanvas face(38, 38), blank(38, 38);
    ResourceFace(IDB_BLANK_FACE, blank, 38, 0);
    Paint(1000, true, face);
    EXPECT_TRUE(face.SameAs(blank)) << "no strip";
    BuildFromIni("");
    gSettings.currentPage = 5;
    Paint(1000, true, face);
    EXPECT_TRUE(face.SameAs(blank)) << "page beyond the strip";
}

} // namespace
