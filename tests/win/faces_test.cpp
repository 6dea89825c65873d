// The icon strip built with the system's icon extraction, and every face
// painter drawing into a memory canvas from its input, against the faces in
// pictures.txt (also the bar's bitmaps and default icon as Windows
// decodes them). Icons 0 to 3 of tav_testicons.dll picture the bar's icons 113 to 116.
#include "bar/faces.h"
#include "bar/icon_strip.h"
#include "res/resource.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

constexpr char kVga[] = "0123456789ABCDEF";

// Strip cell n against the pictures "face `name`" and "face `name` pressed".
std::string StripCellDiff(const IconStrip &s, int n, const std::string &name)
{
    MemoryCanvas cell(76, 38);
    BitBlt(cell.dc(), 0, 0, 76, 38, s.dc.get(), 0, 38 * n, SRCCOPY);
    const std::string face = "face " + name;
    return PictureDiff(cell, 0, 0, face, FaceColour) + PictureDiff(cell, 38, 0, face + " pressed", FaceColour);
}

std::string Entry(const std::string &iconFile, int index)
{
    return iconFile + "," + std::to_string(index) + ",,C:\\NO\\SUCH\\PROGRAM.EXE";
}

class Faces : public ::testing::Test {
protected:
    void TearDown() override { DestroyWindow(bar_); }
    // A "profile%03d" value, and the face its strip cell should show: the bar's
    // icon of that picture, the default program's, or blank.
    struct Slot { int n; std::string value, face = ""; };
    // The strip built for `pages` from these slots (or refreshed, as a reload does), drawn to the end
    // unless `pendingLeft` (then only the first page's five cells); TAV.INI is gone after.
    void Build(int pages, const std::vector<Slot> &slots, bool pendingLeft = false, bool reload = false,
               int cellSize = kLargeCell)
    {
        std::string ini = "[program section]\r\n";
        for (const auto &slot : slots)
            ini += ProfileKey(slot.n) + "=" + slot.value + "\r\n";
        WriteIni(ini);
        BarSettings shown;
        shown.maximumPages = pages;
        shown.cellSize = cellSize;
        (reload ? RefreshIconStrip : BuildIconStrip)(bar_, state_.strip, state_.faces, shown, kBaseDpi);
        WriteIni("-");
        while (!pendingLeft && DrawPendingCells(state_.strip, state_.faces, [] { return false; })) {
        }
    }
    // The input of button `id`'s face on a bar of large or small buttons.
    FaceInput Face(int id, bool pressed, bool small = false)
    {
        const int s = small ? 30 : 38;
        return {.resources = state_.faces, .area = {0, 0, s, s}, .id = id, .pressed = pressed, .cellSize = s,
                .strip = &state_.strip, .smallButtons = small};
    }
    // `in` painted into a canvas larger than any face, through the handler
    // with `action` if `bar` is given: the picture `face` ("": none) at w x h,
    // and nothing beyond it.
    static std::string Paints(FaceInput in, const std::string &face, int w, int h, const BarView *bar = nullptr,
                              UINT action = ODA_DRAWENTIRE)
    {
        MemoryCanvas c(40, 40);
        in.dc = c.dc();
        const DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(in.id), 0, action, in.pressed ? ODS_SELECTED : 0u,
                                 nullptr, in.dc, in.area, 0};
        EXPECT_EQ(bar ? DrawButtonFace(*bar, &dis) : (DrawFace(in), 0), 0);
        const bool beyond = c.Count(kUnpainted, {0, 0, 40, 40}) - c.Count(kUnpainted, {0, 0, w, h}) < 40 * 40 - w * h;
        return (face.empty() ? "" : PictureDiff(c, 0, 0, face, FaceColour)) + (beyond ? " painted beyond" : "");
    }

    const std::string icons_ = ProgramDir() + "\\tav_testicons.dll";
    HWND bar_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    BarState state_;
    SystemPanelState panel_;
};

TEST_F(Faces, StripCellsShowEachSlotsIconOrTheDefault)
{
    const std::vector<Slot> cases = {
        {0, Entry(icons_, -1), "113"},  // -1: start minimized, icon 0
        {1, Entry(icons_, -2), "114"},
        {2, Entry(icons_, 1), "114"},   // the same icon again: copied, not extracted
        {3, Entry(icons_, 3), "116"},
        {4, Entry(ProgramDir() + "\\pictures.txt", 0), "default"},  // a plain text file
        {5, Entry("C:\\no\\such\\file.exe", 0), "default"},
        {6, Entry(icons_, 9), "default"},  // beyond the file's icons
        {7, "", "blank"},
        {10, Entry("C:\\" + std::string(1000, 'a') + ".exe", 0), "default"},
        {11, std::string(3000, 'b'), "default"},  // cut by the reader at 2047 characters
        {39, Entry(icons_, 2), "115"},            // the last cell of the second page
    };
    const HCURSOR original = SetCursor(LoadCursorA(nullptr, IDC_CROSS)), cross = GetCursor();
    Build(2, cases);
    EXPECT_EQ(GetCursor(), cross) << "the wait cursor goes when the strip is built";
    SetCursor(original);
    for (const auto &c : cases)
        EXPECT_EQ(StripCellDiff(state_.strip, c.n, c.face), "") << c.value.substr(0, 60);
    EXPECT_EQ(StripCellDiff(state_.strip, 8, "blank"), "") << "a missing key";
    // Every build makes a strip sized for its pages (the old one's deletion: the stress run's GDI counts).
    for (int pages : {1, 20}) {
        Build(pages, {{pages * 20 - 1, Entry(icons_, 0)}});
        BITMAP bm{};
        GetObjectA(state_.strip.bitmap.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth * 100000 + bm.bmHeight, 76 * 100000 + 760 * pages);
        EXPECT_EQ(StripCellDiff(state_.strip, pages * 20 - 1, "113"), "");
    }
}

TEST_F(Faces, APendingCellCopiesOnlyACellThatStillShowsItsIcon)
{
    // Cells 0 and 20 share an icon; cell 0 trades with the empty cell 1 before cell 20 is drawn.
    Build(2, {{0, Entry(icons_, 0)}, {20, Entry(icons_, 0)}}, true);
    BarSettings settings;
    settings.maximumPages = 2;
    SwapStripCells({bar_, state_, settings, panel_}, bar_, 0, 1);
    while (DrawPendingCells(state_.strip, state_.faces, [] { return false; })) {
    }
    EXPECT_EQ(StripCellDiff(state_.strip, 0, "blank") + StripCellDiff(state_.strip, 1, "113") +
                  StripCellDiff(state_.strip, 20, "113"), "");
}

TEST_F(Faces, AReloadDrawsTheCellOfAnIconFileReplacedUnderTheSameNameAgain)
{
    const std::string copy = TempDir() + "\\tav_replaced_icons.dll";
    ASSERT_TRUE(CopyFileA(icons_.c_str(), copy.c_str(), FALSE));
    Build(1, {{0, Entry(copy, 0)}});
    ASSERT_EQ(StripCellDiff(state_.strip, 0, "113"), "");
    ASSERT_TRUE(CopyFileA((ProgramDir() + "\\pictures.txt").c_str(), copy.c_str(), FALSE));
    Build(1, {{0, Entry(copy, 0)}}, false, true);
    DeleteFileA(copy.c_str());
    EXPECT_EQ(StripCellDiff(state_.strip, 0, "default"), "");
}

TEST_F(Faces, SlotsShowTheirStripCellAndTheHatchInMoveMode)
{
    Build(3, {{0, Entry(icons_, 0)}, {6, Entry(icons_, 1)}, {13, Entry(icons_, 3)}});
    // blank: an empty slot, a cell beyond the strip, or no strip yet
    const struct { int cell; std::string face; bool strip = true; } cases[] = {
        {0, "face 113"}, {6, "face 114"}, {13, "face 116"},
        {16, "face blank"}, {60, "face blank"}, {0, "face blank", false}};
    for (const auto &c : cases)
        for (bool pressed : {false, true})
            for (bool moving : {false, true}) {
                FaceInput in = Face(1000, pressed);
                in.cell = c.cell, in.hatched = moving, in.strip = c.strip ? in.strip : nullptr;
                EXPECT_EQ(Paints(in, c.face + (pressed ? " pressed" : "") + (moving ? " hatched" : ""), 38, 38), "");
            }
    // Small buttons: a strip of their size, its icon the large one reduced by averaging, which
    // leaves colours between the icon's own; dropping pixels would leave none.
    Build(3, {{0, Entry(icons_, 0)}}, false, false, kSmallCell);
    EXPECT_EQ(Paints(Face(1000, false, true), "face 113 small", 30, 30), "") << "the blank face at its size";
    MemoryCanvas small(30, 30);
    FaceInput in = Face(1000, false, true);
    in.dc = small.dc();
    DrawFace(in);
    int blends = 0;
    for (int k = 0; k < 24 * 24; ++k)
        blends += std::none_of(kVga, kVga + 16, [&](char c) { return FaceColour(c) == small.At(3 + k % 24, 3 + k / 24); });
    EXPECT_GT(blends, 24) << "the small icon is a reduced image";
    // At 150 %: the hatch's diagonals whole and unbroken over the scaled square.
    MemoryCanvas large(58, 58);
    FaceInput hatched = Face(1000, false);
    hatched.dc = large.dc(), hatched.cellSize = 58, hatched.dpi = 144, hatched.strip = nullptr, hatched.hatched = true;
    DrawFace(hatched);
    int broken = 0;
    for (int k = 0; k < 47 * 47; ++k)
        broken += large.At(4 + k % 47, 4 + k / 47) != large.At(3 + k % 47, 3 + k / 47);
    EXPECT_EQ(broken * 10000 + large.Count(FaceColour('8'), {3, 3, 51, 51}), 48 * 48 / 3);
    for (int action : {-15, -1, 0, 1, 2, 3, 4}) {  // the system panel's faces or light grey, never hatched
        FaceInput in = Face(1000, true);
        in.panelAction = action, in.hatched = true;
        EXPECT_EQ(Paints(in, action < 0 ? "panel grey" : "panel " + std::to_string(action), 38, 38), "") << action;
    }
    for (int id : {999, 506, 1020})
        EXPECT_EQ(Paints(Face(id, false), "", 0, 0), "") << id << " is no face";
}

TEST_F(Faces, ControlFacesPickTheirCellAndScale)
{
    // The page number: the plate, then the digits in 16-pixel Arial, black on
    // grey; two digits narrowed so that they stand whole inside the button.
    const struct { int id; bool topmost; int page; std::string face; } cases[] = {
        {IDC_PREV_PAGE, false, 1, "previous page"}, {IDC_NEXT_PAGE, false, 1, "next page"}, {IDC_PIN, false, 1, "pin"},
        {IDC_PIN, true, 1, "pin topmost"}, {IDC_SYSTEM_PANEL, false, 1, "panel toggle"},
        {IDC_PAGE_NUMBER, false, 7, "page 7"}, {IDC_PAGE_NUMBER, false, 20, "page 20"}};
    for (bool small : {false, true})
        for (bool pressed : {false, true})
            for (const auto &c : cases) {
                FaceInput in = Face(c.id, pressed, small);
                in.topmost = c.topmost, in.page = c.page, in.panelAction = 0;  // the toggle ignores the panel
                const int h = c.id == IDC_PAGE_NUMBER ? in.cellSize : in.cellSize / 2;
                const std::string as = std::string(small ? " small" : "") + (pressed ? " pressed" : "");
                EXPECT_EQ(Paints(in, c.face + as, in.cellSize / 2, h), "") << c.id << as;
            }
    // Larger than the art (at 125 and 150 %): the art at its whole factor, its frame grown with
    // the dithered lines regular even by an odd count, the picture whole and centred.
    for (const auto &[id, pressed, cell, face] : {std::tuple{IDC_PIN, false, 58, "pin 150"},
                                                  std::tuple{IDC_SYSTEM_PANEL, true, 48, "panel toggle 125 pressed"}}) {
        FaceInput in = Face(id, pressed);
        in.cellSize = cell;
        EXPECT_EQ(Paints(in, face, cell / 2, cell / 2), "");
    }
}

// The handler takes each face's input from the bar: the slot's cell on the
// page shown, move mode, the panel's cells, the pin, the page and the size.
TEST_F(Faces, TheHandlerPaintsWhatTheBarHolds)
{
    Build(3, {{13, Entry(icons_, 3)}});
    BarSettings settings{.columns = 2, .rows = 4};  // eight slots: the panel from the fourth on
    const BarView view{bar_, state_, settings, panel_};
    // Each of the three actions paints the whole face, pressed while selected; no other action paints.
    const struct { int page; unsigned mode; bool moving, panel; int id; UINT action; std::string face; } cases[] = {
        {2, 0, true, false, 1005, ODA_FOCUS, "face 116 hatched"},
        {1, 0, false, true, 1002, ODA_DRAWENTIRE, "panel grey"},
        {1, 0, false, true, 1003, ODA_SELECT, "panel 0"},
        {1, 0, false, false, 1000, 8, ""},
        {1, Topmost | SmallButtons, false, false, IDC_PIN, ODA_DRAWENTIRE, "pin topmost small"},
        {20, SmallButtons, false, false, IDC_PAGE_NUMBER, ODA_DRAWENTIRE, "page 20 small"}};
    for (const auto &c : cases) {
        settings.mode = c.mode, settings.currentPage = c.page, settings.cellSize = c.mode & SmallButtons ? 30 : 38;
        state_.move.on = c.moving, panel_.shown = c.panel;
        EXPECT_EQ(Paints(Face(c.id, c.action == ODA_SELECT), c.face, c.face.empty() ? 0 : 40, 40, &view, c.action), "");
    }
    EXPECT_EQ(DrawButtonFace(view, nullptr), 0);
}

} // namespace

