// The bar's resources as Windows decodes them, the icon strip built with the
// system's icon extraction, and every face painter drawing into a memory
// canvas through DrawButtonFace.
#include "bar/faces.h"
#include "faces_pixels.h"
#include "tools/face_art.h"

using namespace facetest;

namespace {

TEST(Resources, DecodeToWhatTheGeneratorDrew)
{
    const struct {
        int id;
        Raster drawn;
    } images[] = {
        {IDB_BLANK_FACE, BlankFaceBitmap()}, {IDB_PAGE_ARROWS, PageArrowsBitmap()}, {IDB_PIN, PinBitmap()},
        {IDB_PANEL_TOGGLE, PanelToggleBitmap()}, {IDB_PAGE_PLATE, PageNumberPlateBitmap()},
        {IDB_SYSTEM_PANEL, SystemPanelBitmap()}, {IDI_TAV, ProgramIcon()}, {IDI_DEFAULT_PROGRAM, DefaultProgramIcon()},
        {113, AnimationIcon(0)}, {114, AnimationIcon(1)}, {115, AnimationIcon(2)}, {116, AnimationIcon(3)},
        {IDI_MOVE_MARK, MoveMarkIcon()}, {IDCUR_WAIT, WaitCursor().picture},
    };
    HINSTANCE self = GetModuleHandleA(nullptr);
    for (const auto &i : images) {
        MemoryCanvas c(i.drawn.width, i.drawn.height);
        if (i.id < IDI_TAV || i.id > IDCUR_WAIT)
            ResourceFace(i.id, c, 0, 0, c.width, c.height, c.width, c.height);
        else
            DrawIcon(c.dc(), 0, 0, i.id == IDCUR_WAIT ? LoadCursorA(self, MAKEINTRESOURCEA(i.id)) : ResourceIcon(i.id));
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::uint8_t p = i.drawn.At(x, y);
                const Rgb rgb = kVgaPalette[p & 0xF];
                wrong += c.At(x, y) != (p == kTransparent ? kUnpainted : RGB(rgb.r, rgb.g, rgb.b));
            }
        EXPECT_EQ(wrong, 0) << i.id;
    }
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(LoadCursorA(self, MAKEINTRESOURCEA(IDCUR_WAIT)), &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_EQ(info.xHotspot * 100 + info.yHotspot, WaitCursor().hotX * 100u + WaitCursor().hotY);
}

class Faces : public ::testing::Test {
protected:
    void SetUp() override { gApp.instance = GetModuleHandleA(nullptr); }
    void TearDown() override
    {
        FreeIconStrip();
        gSystemPanel.shown = false;
        gMove = MoveState{};
        gButtons.slots.clear();
        DestroyWindow(bar_);
    }
    // The strip built for `pages` from these "profile%03d" values; TAV.INI is gone after.
    void Build(int pages, const std::vector<std::pair<int, std::string>> &slots)
    {
        std::string ini = "[program section]\r\n";
        for (const auto &[n, value] : slots)
            ini += ProfileKey(n) + "=" + value + "\r\n";
        WriteIni(ini);
        gSettings.maximumPages = pages;
        BuildIconStrip(bar_);
        WriteIni("-");
    }
    static int Wrong(int n, HICON icon) { return StripCellWrong(n, icon); }
    // A button of the bar stand-in with nothing left to paint.
    HWND Button()
    {
        HWND b = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 38, 38, bar_, nullptr, nullptr, nullptr);
        ShowWindow(bar_, SW_SHOWNA);
        ValidateRect(b, nullptr);
        return b;
    }
    static void Use(bool small, int page = 1, int columns = 5, int rows = 1, unsigned mode = 0)
    {
        gSettings.mode = mode | (small ? unsigned{SmallButtons} : 0u);
        gSettings.cellSize = small ? 30 : 38;
        gSettings.currentPage = page;
        gSettings.columns = columns;
        gSettings.rows = rows;
    }
    // Button `id` painted into a canvas larger than any face, against
    // `expected`: the face at its size, and nothing beyond it.
    std::string Paints(int id, bool pressed, const MemoryCanvas &expected, int w, int h, UINT action = ODA_DRAWENTIRE)
    {
        MemoryCanvas face(40, 40);
        const DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(id), 0, action, pressed ? ODS_SELECTED : 0u, nullptr,
                                 face.dc(), {0, 0, gSettings.cellSize, gSettings.cellSize}, 0};
        EXPECT_EQ(DrawButtonFace(bar_, &dis), 0);
        const int wrong = face.Differences(expected, {0, 0, w, h}, 0, 0);
        const int beyond =
            40 * 40 - w * h - face.Count(kUnpainted, {0, 0, 40, 40}) + face.Count(kUnpainted, {0, 0, w, h});
        return wrong || beyond ? std::to_string(wrong) + " wrong, " + std::to_string(beyond) + " beyond" : "";
    }

    HWND bar_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
};

TEST_F(Faces, StripCellsShowEachSlotsIconOrTheDefault)
{
    const std::string dll = IconLibrary();
    const struct {
        int slot;
        std::string value;
        int icon;  // resource id of the expected picture; 0: blank
    } cases[] = {
        {0, Entry(dll, -1), 113},  // -1: start minimized, icon 0
        {1, Entry(dll, -2), 114},
        {2, Entry(dll, 1), 114},   // the same icon again: copied, not extracted
        {3, Entry(dll, 3), 116},
        {4, Entry(ProgramDir() + "\\pictures.txt", 0), IDI_DEFAULT_PROGRAM},  // a plain text file
        {5, Entry("C:\\no\\such\\file.exe", 0), IDI_DEFAULT_PROGRAM},
        {6, Entry(dll, 9), IDI_DEFAULT_PROGRAM},  // beyond the file's icons
        {7, "", 0},
        {10, Entry("C:\\" + std::string(1000, 'a') + ".exe", 0), IDI_DEFAULT_PROGRAM},
        {11, std::string(3000, 'b'), IDI_DEFAULT_PROGRAM},  // cut by the reader at 2047 characters
        {39, Entry(dll, 2), 115},                           // the last cell of the second page
    };
    std::vector<std::pair<int, std::string>> slots;
    for (const auto &c : cases)
        slots.emplace_back(c.slot, c.value);
    const HCURSOR original = SetCursor(LoadCursorA(nullptr, IDC_CROSS)), cross = GetCursor();
    Build(2, slots);
    EXPECT_EQ(GetCursor(), cross) << "the wait cursor goes when the strip is built";
    SetCursor(original);
    for (const auto &c : cases)
        EXPECT_EQ(Wrong(c.slot, c.icon ? ResourceIcon(c.icon) : nullptr), 0) << c.value.substr(0, 60);
    EXPECT_EQ(Wrong(8, nullptr), 0) << "a missing key";
    // Every build replaces the bitmap, sized for its pages.
    for (int pages : {1, 20}) {
        const HBITMAP before = gIconStrip.bitmap.get();
        Build(pages, {{pages * 20 - 1, Entry(dll, 0)}});
        BITMAP bm{};
        GetObjectA(gIconStrip.bitmap.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth * 100000 + bm.bmHeight, 76 * 100000 + 760 * pages);
        EXPECT_EQ(Wrong(pages * 20 - 1, ResourceIcon(113)) + GetObjectType(before), 0u) << "the old strip is deleted";
    }
    const HBITMAP last = gIconStrip.bitmap.get();
    FreeIconStrip();
    EXPECT_TRUE(!gIconStrip.bitmap && GetObjectType(last) == 0);
}

TEST_F(Faces, CellsRedrawnFromArgumentsAndExchangedWithoutReadingAnything)
{
    Build(1, {{2, Entry(IconLibrary(), 0)}, {4, Entry(IconLibrary(), 0)}, {5, Entry(IconLibrary(), 1)},
              {7, Entry(IconLibrary(), 2)}});
    HWND button = Button();
    gButtons.slots = {button};
    RenderSlotCell(button, 4, IconLibrary().c_str(), -3);
    EXPECT_EQ(Wrong(4, ResourceIcon(115)), 0) << "stored -3 is icon 2";
    for (int n : {4, -1, 20}) {  // no icon file: the blank face of a removed program; no such cell: nothing
        EXPECT_TRUE(GetUpdateRect(button, nullptr, FALSE)) << "the button repaints";
        ValidateRect(button, nullptr);
        RenderSlotCell(button, n, n == 4 ? nullptr : IconLibrary().c_str(), 0);
    }
    for (auto [a, b] : {std::pair{2, 7}, {7, 7}, {2, 20}, {-1, 2}})  // then itself, and cells that do not exist
        SwapStripCells(bar_, a, b);
    EXPECT_EQ(Wrong(2, ResourceIcon(115)) + Wrong(7, ResourceIcon(113)), 0) << "exchanged";
    EXPECT_EQ(Wrong(4, nullptr) + Wrong(5, ResourceIcon(114)), 0) << "removed, and its neighbour untouched";
    EXPECT_TRUE(GetUpdateRect(button, nullptr, FALSE)) << "every slot repaints";
}

TEST_F(Faces, SlotsShowTheirStripCellAndTheHatchInMoveMode)
{
    Build(3, {{0, Entry(IconLibrary(), 0)}, {6, Entry(IconLibrary(), 1)}, {13, Entry(IconLibrary(), 3)}});
    const struct {
        int page, columns, rows, id, icon;  // icon 0: blank (an empty slot, or a page beyond the strip)
    } cases[] = {
        {1, 5, 1, 1000, 113}, {2, 5, 1, 1001, 114}, {2, 1, 7, 1006, 116}, {3, 8, 1, 1000, 0}, {5, 5, 1, 1000, 0}};
    for (const auto &c : cases)
        for (bool pressed : {false, true})
            for (bool moving : {false, true}) {
                Use(false, c.page, c.columns, c.rows);
                gMove.on = moving;
                MemoryCanvas cell(76, 38), expected(38, 38);
                ExpectedCell(c.icon ? ResourceIcon(c.icon) : nullptr, cell);
                BitBlt(expected.dc(), 0, 0, 38, 38, cell.dc(), pressed ? 38 : 0, 0, SRCCOPY);
                for (int y = 2; y < 34 && moving; ++y)  // every third diagonal, light grey
                    for (int x = 2 + (y + 1) % 3; x < 34; x += 3)
                        SetPixelV(expected.dc(), x, y, kLightGrey);
                // Each of the three actions paints the whole face.
                const UINT action = pressed ? ODA_SELECT : moving ? ODA_FOCUS : ODA_DRAWENTIRE;
                EXPECT_EQ(Paints(c.id, pressed, expected, 38, 38, action), "")
                    << c.id << " page " << c.page << pressed << moving;
            }
    Use(true);  // small buttons scale the face
    gMove.on = false;
    MemoryCanvas cell(76, 38), expected(30, 30);
    ExpectedCell(ResourceIcon(113), cell);
    StretchBlt(expected.dc(), 0, 0, 30, 30, cell.dc(), 0, 0, 38, 38, SRCCOPY);
    EXPECT_EQ(Paints(1000, false, expected, 30, 30), "");
    // The system panel's faces on the last five slots, plain light grey before them.
    gSystemPanel.shown = gMove.on = true;  // no hatch on them
    for (auto [columns, rows] : {std::pair{5, 1}, {1, 7}, {20, 1}})
        for (int k = 0; k < columns * rows; ++k) {
            Use(false, 1, columns, rows);
            const int action = k - (columns * rows - 5);
            MemoryCanvas face(38, 38);
            if (action >= 0)
                ResourceFace(IDB_SYSTEM_PANEL, face, 38, 38 * action, 38, 38, 38, 38);
            else if (SelectObject(face.dc(), GetStockObject(LTGRAY_BRUSH)))
                PatBlt(face.dc(), 0, 0, 38, 38, PATCOPY);
            EXPECT_EQ(Paints(kFirstSlotId + k, true, face, 38, 38), "") << columns * rows << " slots, " << k;
        }
    // Other actions and ids paint nothing.
    const MemoryCanvas nothing(0, 0);
    for (auto [id, action] : {std::pair<int, UINT>{1000, 8}, {999, 1}, {506, 1}, {1020, 1}})
        EXPECT_EQ(Paints(id, false, nothing, 0, 0, action), "") << id << " action " << action;
    EXPECT_EQ(DrawButtonFace(bar_, nullptr), 0);
}

TEST_F(Faces, ControlFacesPickTheirCellAndScale)
{
    const struct {
        int id;
        unsigned mode;
        int bitmap, row;
    } cases[] = {{IdPrevPage, 0, IDB_PAGE_ARROWS, 0}, {IdNextPage, 0, IDB_PAGE_ARROWS, 1}, {IdPin, 0, IDB_PIN, 0},
                 {IdPin, Topmost, IDB_PIN, 1}, {IdSystemPanel, 0, IDB_PANEL_TOGGLE, 0}};
    for (bool small : {false, true})
        for (const auto &c : cases)
            for (bool pressed : {false, true}) {
                Use(small, 1, 5, 1, c.mode);
                gSystemPanel.shown = pressed;  // the toggle's face does not change with the panel
                const int h = gSettings.cellSize / 2;
                MemoryCanvas expected(19, 19);
                ResourceFace(c.bitmap, expected, pressed ? 19 : 0, 19 * c.row, 19, 19, h, h);
                EXPECT_EQ(Paints(c.id, pressed, expected, h, h), "") << c.id << " " << small << pressed;
            }
    // The page number: the plate, then the digits in 16-pixel Arial, black on
    // grey, at (9, 9) or (4, 4) however wide (the button's window clips them).
    for (auto [small, page] : {std::pair{false, 7}, {true, 7}, {false, 20}, {true, 20}})
        for (bool pressed : {false, true}) {
            Use(small, page);
            MemoryCanvas expected(40, 40);
            const int s = gSettings.cellSize;
            ResourceFace(IDB_PAGE_PLATE, expected, pressed ? 19 : 0, 0, 19, 38, s / 2, s);
            HGDIOBJ old = SelectObject(expected.dc(), CreateFontA(16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
            SetBkColor(expected.dc(), kLightGrey);
            TextOutA(expected.dc(), small ? 4 : 9, small ? 4 : 9, std::to_string(page).c_str(), page < 10 ? 1 : 2);
            DeleteObject(SelectObject(expected.dc(), old));
            EXPECT_EQ(Paints(IdPageNumber, pressed, expected, 40, 40), "") << page << small << pressed;
        }
}

} // namespace
