// The icon strip built with the system's icon extraction, and every face
// painter drawing into a memory canvas through DrawButtonFace, against the
// faces in pictures.txt (also the bar's bitmaps and default icon as Windows
// decodes them). Icons 0 to 3 of tav_testicons.dll picture the bar's icons 113 to 116.
#include "winkit/gdi_holders.h"
#include "ini/settings.h"
#include "bar/faces.h"
#include "bar/icon_strip.h"
#include "bar/layout.h"
#include "res/resource.h"
#include "support/win_test.h"

using namespace tavtest;

namespace {

// Strip cell n against the pictures "face `name`" and "face `name` pressed".
std::string StripCellDiff(const IconStrip &s, int n, const std::string &name)
{
    MemoryCanvas cell(76, 38);
    const MemoryDc strip(nullptr);
    const Selection use(strip.get(), s.bitmap.get());
    BitBlt(cell.dc(), 0, 0, 76, 38, strip.get(), 0, 38 * n, SRCCOPY);
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
    // The strip built for `pages` from these slots; TAV.INI is gone after.
    void Build(int pages, const std::vector<Slot> &slots)
    {
        std::string ini = "[program section]\r\n";
        for (const auto &slot : slots)
            ini += ProfileKey(slot.n) + "=" + slot.value + "\r\n";
        WriteIni(ini);
        BuildIconStrip(bar_, state_.strip, state_.faces, pages);
        WriteIni("-");
    }
    static void Use(bool small, int page = 1, int columns = 5, int rows = 1, unsigned mode = 0)
    {
        gSettings.mode = mode | (small ? unsigned{SmallButtons} : 0u);
        gSettings.cellSize = small ? 30 : 38;
        gSettings.currentPage = page;
        gSettings.columns = columns;
        gSettings.rows = rows;
    }
    // Button `id` painted into a canvas larger than any face: the picture
    // `face` ("": none) at w x h, and nothing beyond it.
    std::string Paints(int id, bool pressed, const std::string &face, int w, int h, UINT action = ODA_DRAWENTIRE)
    {
        MemoryCanvas c(40, 40);
        const DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(id), 0, action, pressed ? ODS_SELECTED : 0u, nullptr,
                                 c.dc(), {0, 0, gSettings.cellSize, gSettings.cellSize}, 0};
        EXPECT_EQ(DrawButtonFace(view_, &dis), 0);
        const bool beyond = c.Count(kUnpainted, {0, 0, 40, 40}) - c.Count(kUnpainted, {0, 0, w, h}) < 40 * 40 - w * h;
        return (face.empty() ? "" : PictureDiff(c, 0, 0, face, FaceColour)) + (beyond ? " painted beyond" : "");
    }

    const std::string icons_ = ProgramDir() + "\\tav_testicons.dll";
    HWND bar_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    BarState state_;
    SystemPanelState panel_;
    BarView view_{bar_, state_, gSettings, panel_};
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

TEST_F(Faces, SlotsShowTheirStripCellAndTheHatchInMoveMode)
{
    Build(3, {{0, Entry(icons_, 0)}, {6, Entry(icons_, 1)}, {13, Entry(icons_, 3)}});
    // face blank: an empty slot, or a page beyond the strip
    const struct { int page, columns, rows, id; std::string face; } cases[] = {
        {1, 5, 1, 1000, "113"}, {2, 5, 1, 1001, "114"}, {2, 1, 7, 1006, "116"}, {3, 8, 1, 1000, "blank"},
        {5, 5, 1, 1000, "blank"}};
    for (const auto &c : cases)
        for (bool pressed : {false, true})
            for (bool moving : {false, true}) {
                Use(false, c.page, c.columns, c.rows);
                state_.move.on = moving;
                // Each of the three actions paints the whole face.
                const UINT action = pressed ? ODA_SELECT : moving ? ODA_FOCUS : ODA_DRAWENTIRE;
                const std::string face = c.face + (pressed ? " pressed" : "") + (moving ? " hatched" : "");
                EXPECT_EQ(Paints(c.id, pressed, "face " + face, 38, 38, action), "") << c.id << " page " << c.page;
            }
    Use(true);  // small buttons scale the face
    state_.move.on = false;
    EXPECT_EQ(Paints(1000, false, "face 113 small", 30, 30), "");
    // The system panel's faces on the last five slots, plain light grey before them.
    panel_.shown = state_.move.on = true;  // no hatch on them
    for (auto [columns, rows] : {std::pair{5, 1}, {1, 7}, {20, 1}})
        for (int k = 0; k < columns * rows; ++k) {
            Use(false, 1, columns, rows);
            const int action = k - (columns * rows - 5);
            const std::string face = action >= 0 ? "panel " + std::to_string(action) : "panel grey";
            EXPECT_EQ(Paints(IDC_FIRST_SLOT + k, true, face, 38, 38), "") << columns * rows << " slots, " << k;
        }
    // Other actions and ids paint nothing.
    for (auto [id, action] : {std::pair<int, UINT>{1000, 8}, {999, 1}, {506, 1}, {1020, 1}})
        EXPECT_EQ(Paints(id, false, "", 0, 0, action), "") << id << " action " << action;
    EXPECT_EQ(DrawButtonFace(view_, nullptr), 0);
}

TEST_F(Faces, ControlFacesPickTheirCellAndScale)
{
    const struct { int id; unsigned mode; std::string face; } cases[] = {
        {IDC_PREV_PAGE, 0, "previous page"}, {IDC_NEXT_PAGE, 0, "next page"}, {IDC_PIN, 0, "pin"},
        {IDC_PIN, Topmost, "pin topmost"}, {IDC_SYSTEM_PANEL, 0, "panel toggle"}};
    for (bool small : {false, true})
        for (bool pressed : {false, true}) {
            const std::string as = std::string(small ? " small" : "") + (pressed ? " pressed" : "");
            for (const auto &c : cases) {
                Use(small, 1, 5, 1, c.mode);
                panel_.shown = pressed;  // the toggle's face does not change with the panel
                const int h = gSettings.cellSize / 2;
                EXPECT_EQ(Paints(c.id, pressed, c.face + as, h, h), "") << c.id << as;
            }
            // The page number: the plate, then the digits in 16-pixel Arial,
            // black on grey, however wide (the button's window clips them).
            for (int page : {7, 20}) {
                Use(small, page);
                EXPECT_EQ(Paints(IDC_PAGE_NUMBER, pressed, "page " + std::to_string(page) + as, 40, 40), "") << page << as;
            }
        }
}

} // namespace
