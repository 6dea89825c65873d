// The generator's RLE4 writer, checked with a strict decoder written here
// from the format's rules, and the face designs checked by the relations
// the bar relies on. (How Windows decodes the files is checked under Wine.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "tools/face_art.h"
#include "tools/image_files.h"
#include "tools/pixel_font.h"

namespace {

unsigned Get16(const Bytes &b, size_t at)
{
    return b.at(at) | b.at(at + 1) << 8;
}

std::uint32_t Get32(const Bytes &b, size_t at)
{
    return Get16(b, at) | static_cast<std::uint32_t>(Get16(b, at + 2)) << 16;
}

// Decodes bottom-up BI_RLE4 data strictly: every row filled exactly, every
// absolute stretch padded to 16 bits, the end-of-bitmap mark last.
Raster DecodeRle4(const Bytes &data, int width, int height)
{
    Raster out(width, height, 0xEE);
    size_t at = 0;
    int x = 0;
    int y = height - 1;
    auto put = [&](std::uint8_t c) {
        if (x >= width || y < 0)
            throw std::runtime_error("pixel beyond the row");
        out.Set(x++, y, c);
    };
    for (;;) {
        const std::uint8_t n = data.at(at++);
        const std::uint8_t v = data.at(at++);
        if (n > 0) {
            for (int i = 0; i < n; ++i)
                put(i & 1 ? v & 0xF : v >> 4);
            continue;
        }
        if (v == 0 || v == 1) {
            if (x != width)
                throw std::runtime_error("row ended early");
            x = 0;
            --y;
            if (v == 1) {
                if (y != -1 || at != data.size())
                    throw std::runtime_error("end of bitmap misplaced");
                return out;
            }
            continue;
        }
        if (v == 2)
            throw std::runtime_error("delta is not used");
        const size_t bytes = (v + 1) / 2;
        for (int i = 0; i < v; ++i) {
            const std::uint8_t b = data.at(at + i / 2);
            put(i & 1 ? b & 0xF : b >> 4);
        }
        at += bytes + (bytes & 1);
    }
}

Raster RandomRaster(int w, int h, int colours, unsigned seed)
{
    std::srand(seed);
    Raster r(w, h, 0);
    for (auto &p : r.pixels)
        p = static_cast<std::uint8_t>(std::rand() % colours);
    return r;
}

Raster Striped(int w, std::initializer_list<std::uint8_t> pattern)
{
    Raster r(w, 1, 0);
    for (int x = 0; x < w; ++x)
        r.Set(x, 0, pattern.begin()[x % pattern.size()]);
    return r;
}

TEST(Rle4, DecodesToTheSamePixels)
{
    const struct {
        const char *what;
        Raster picture;
    } cases[] = {
        {"one pixel", Raster(1, 1, 7)},
        {"two pixels", Striped(2, {3, 4})},
        {"three distinct", Striped(3, {1, 2, 3})},
        {"solid, longer than one run", Raster(600, 2, 15)},
        {"checkerboard, longer than one run", Striped(601, {8, 7})},
        {"no two alike", Striped(17, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})},
        {"absolute stretch longer than 255", Striped(700, {1, 2, 3})},
        {"runs between literals", Striped(40, {5, 5, 5, 5, 5, 1, 2, 9, 9, 9, 9, 9, 9, 3})},
        {"two colours", RandomRaster(37, 23, 2, 1)},
        {"sixteen colours", RandomRaster(76, 190, 16, 2)},
        {"odd width", RandomRaster(19, 38, 16, 3)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes data = EncodeRle4(c.picture);
        EXPECT_EQ(data.size() % 2, 0u);
        EXPECT_EQ(DecodeRle4(data, c.picture.width, c.picture.height), c.picture);
    }
}

TEST(Rle4, CompressesTheFacesWell)
{
    // A face is mostly runs: it must come out far below 4 bits a pixel.
    const Raster face = BlankFaceBitmap();
    EXPECT_LT(EncodeRle4(face).size(), face.pixels.size() / 4);
}

struct Image {
    const char *name;
    std::function<Raster()> draw;
    int width, height;
};

const Image kBitmaps[] = {
    {"101 blank face", BlankFaceBitmap, 76, 38},    {"102 page arrows", PageArrowsBitmap, 38, 38},
    {"503 pin", PinBitmap, 38, 38},                 {"504 panel toggle", PanelToggleBitmap, 38, 19},
    {"505 page plate", PageNumberPlateBitmap, 38, 38}, {"506 system panel", SystemPanelBitmap, 76, 190},
};

TEST(BitmapFile, HeaderPaletteAndPixels)
{
    for (const Image &img : kBitmaps) {
        SCOPED_TRACE(img.name);
        const Raster picture = img.draw();
        ASSERT_EQ(picture.width, img.width);
        ASSERT_EQ(picture.height, img.height);
        const Bytes f = BitmapFile(picture);
        ASSERT_GT(f.size(), 118u);
        EXPECT_EQ(f[0], 'B');
        EXPECT_EQ(f[1], 'M');
        EXPECT_EQ(Get32(f, 2), f.size());
        EXPECT_EQ(Get32(f, 10), 118u);
        EXPECT_EQ(Get32(f, 14), 40u);
        EXPECT_EQ(static_cast<int>(Get32(f, 18)), img.width);
        EXPECT_EQ(static_cast<int>(Get32(f, 22)), img.height);
        EXPECT_EQ(Get16(f, 28), 4u);   // bits a pixel
        EXPECT_EQ(Get32(f, 30), 2u);   // BI_RLE4
        EXPECT_EQ(Get32(f, 34), f.size() - 118);
        EXPECT_EQ(Get32(f, 46), 16u);  // colours used
        EXPECT_EQ(DecodeRle4(Bytes(f.begin() + 118, f.end()), img.width, img.height), picture);
    }
}

TEST(BitmapFile, RefusesTransparentPixels)
{
    EXPECT_THROW(BitmapFile(Raster(4, 4, kTransparent)), std::invalid_argument);
}

// ---- Designs -------------------------------------------------------------

std::uint8_t At(const Raster &r, int x, int y)
{
    return r.At(x, y);
}

// Every control face: a black frame, and rows from the top: two white,
// three checkered white and light grey, light grey, three checkered dark
// grey and light grey, two dark grey.
void ExpectShading(const Raster &r, int x0, int y0, int w, int h)
{
    for (int i = 0; i < w; ++i) {
        EXPECT_EQ(At(r, x0 + i, y0), Black);
        EXPECT_EQ(At(r, x0 + i, y0 + h - 1), Black);
    }
    for (int j = 0; j < h; ++j) {
        EXPECT_EQ(At(r, x0, y0 + j), Black);
        EXPECT_EQ(At(r, x0 + w - 1, y0 + j), Black);
    }
    // Judge the shading at the column inside the frame, away from symbols.
    auto rowColours = [&](int y) {
        std::string s;
        for (int x = 1; x < 3; ++x)
            s += std::to_string(At(r, x0 + x, y0 + y)) + " ";
        return s;
    };
    const std::string white = "15 15 ", grey = "7 7 ", dark = "8 8 ";
    EXPECT_EQ(rowColours(1), white);
    EXPECT_EQ(rowColours(2), white);
    for (int y = 3; y <= 5; ++y) {
        const std::string c = rowColours(y);
        EXPECT_TRUE(c == "15 7 " || c == "7 15 ") << "row " << y << ": " << c;
    }
    EXPECT_EQ(rowColours(6), grey);
    EXPECT_EQ(rowColours(h - 7), grey);
    for (int y = h - 6; y <= h - 4; ++y) {
        const std::string c = rowColours(y);
        EXPECT_TRUE(c == "8 7 " || c == "7 8 ") << "row " << y << ": " << c;
    }
    EXPECT_EQ(rowColours(h - 3), dark);
    EXPECT_EQ(rowColours(h - 2), dark);
}

// The pressed face is the raised shading moved down a row under a dark
// line top and left, with the raised symbol moved one pixel right and down
// in the pressed colour. An ink of kTransparent: the face has no symbol.
void ExpectPressedFollowsRaised(const Raster &r, int x0, int y0, int w, int h, std::uint8_t raisedInk,
                                std::uint8_t pressedInk)
{
    const int px = x0 + w;
    // The symbol's box, raised and moved; the shading is compared outside it.
    int left = w, right = -1, top = h, bottom = -1;
    for (int j = 1; j < h - 1; ++j)
        for (int i = 1; i < w - 1; ++i)
            if (At(r, x0 + i, y0 + j) == raisedInk) {
                left = std::min(left, i);
                right = std::max(right, i + 1);
                top = std::min(top, j);
                bottom = std::max(bottom, j + 1);
            }
    if (raisedInk != kTransparent)
        ASSERT_LE(left, right) << "no symbol";
    for (int j = 1; j < h - 1; ++j) {
        EXPECT_EQ(At(r, px + 1, y0 + j), DarkGrey);
        EXPECT_EQ(At(r, px + j % (w - 2) + 1, y0 + 1), DarkGrey);
        for (int i = 2; i < w - 1 && j >= 2; ++i) {
            const std::uint8_t pressed = At(r, px + i, y0 + j);
            if (raisedInk != kTransparent)
                EXPECT_EQ(At(r, x0 + i - 1, y0 + j - 1) == raisedInk, pressed == pressedInk) << i << "," << j;
            if (i < left || i > right || j < top || j > bottom)
                EXPECT_EQ(pressed, At(r, x0 + i, y0 + j - 1)) << "shading at " << i << "," << j;
        }
    }
}

TEST(Designs, BlankSlotFaces)
{
    const Raster r = BlankFaceBitmap();
    const struct {
        int x, y;
        std::uint8_t colour;
    } raised[] = {{0, 0, Black}, {37, 37, Black}, {18, 0, Black}, {0, 18, Black}, {1, 1, White},  {18, 1, White},
                  {1, 18, White}, {36, 18, DarkGrey}, {35, 18, DarkGrey}, {18, 36, DarkGrey}, {18, 35, DarkGrey},
                  {34, 18, LightGrey}, {2, 2, LightGrey}, {18, 18, LightGrey}};
    for (const auto &p : raised) {
        EXPECT_EQ(At(r, p.x, p.y), p.colour) << "raised " << p.x << "," << p.y;
    }
    // Pressed, the bands change sides: dark two pixels top and left, white one pixel right and bottom.
    const struct {
        int x, y;
        std::uint8_t colour;
    } pressed[] = {{0, 0, Black}, {37, 37, Black}, {1, 18, DarkGrey}, {2, 18, DarkGrey}, {18, 1, DarkGrey},
                   {18, 2, DarkGrey}, {3, 18, LightGrey}, {36, 18, White}, {18, 36, White}, {35, 18, LightGrey},
                   {18, 18, LightGrey}};
    for (const auto &p : pressed)
        EXPECT_EQ(At(r, 38 + p.x, p.y), p.colour) << "pressed " << p.x << "," << p.y;
}

TEST(Designs, ControlFacesShadeAndPress)
{
    const struct {
        const char *what;
        Raster picture;
        int w, h;
        std::vector<std::pair<std::uint8_t, std::uint8_t>> inks;  // raised, pressed; one pair a row
    } cases[] = {
        {"102", PageArrowsBitmap(), 19, 19, {{Navy, Blue}, {Navy, Blue}}},
        {"503", PinBitmap(), 19, 19, {{Maroon, Red}, {Maroon, Red}}},
        {"504", PanelToggleBitmap(), 19, 19, {{DarkGreen, Green}}},
        {"505", PageNumberPlateBitmap(), 19, 38, {{kTransparent, kTransparent}}},
        {"506", SystemPanelBitmap(), 38, 38, {{Navy, Blue}, {Navy, Blue}, {Red, Red}, {Black, Black}, {Navy, Blue}}},
    };
    for (const auto &c : cases)
        for (size_t row = 0; row < c.inks.size(); ++row) {
            SCOPED_TRACE(std::string(c.what) + " row " + std::to_string(row));
            ExpectShading(c.picture, 0, static_cast<int>(row) * c.h, c.w, c.h);
            ExpectPressedFollowsRaised(c.picture, 0, static_cast<int>(row) * c.h, c.w, c.h, c.inks[row].first,
                                       c.inks[row].second);
        }
}

// Where an arrow points: its tip is the single ink pixel at one end.
enum class Points { Left, Right, Up, Down };

Points ArrowDirection(const Raster &r, int x0, int y0, std::uint8_t ink)
{
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 19; ++x)
            if (At(r, x0 + x, y0 + y) == ink) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    auto countColumn = [&](int x) {
        int n = 0;
        for (int y = 0; y < 19; ++y)
            n += At(r, x0 + x, y0 + y) == ink;
        return n;
    };
    auto countRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < 19; ++x)
            n += At(r, x0 + x, y0 + y) == ink;
        return n;
    };
    if (maxX - minX > maxY - minY)
        return countColumn(minX) < countColumn(maxX) ? Points::Left : Points::Right;
    return countRow(minY) < countRow(maxY) ? Points::Up : Points::Down;
}

TEST(Designs, ArrowsPointTheirWay)
{
    const Raster arrows = PageArrowsBitmap();
    const Raster pin = PinBitmap();
    EXPECT_EQ(ArrowDirection(arrows, 0, 0, Navy), Points::Left);
    EXPECT_EQ(ArrowDirection(arrows, 0, 19, Navy), Points::Right);
    EXPECT_EQ(ArrowDirection(arrows, 19, 19, Blue), Points::Right);
    EXPECT_EQ(ArrowDirection(pin, 0, 0, Maroon), Points::Up);
    EXPECT_EQ(ArrowDirection(pin, 0, 19, Maroon), Points::Down);
    EXPECT_EQ(ArrowDirection(pin, 19, 0, Red), Points::Up);
}

TEST(Designs, SystemPanelColours)
{
    const Raster r = SystemPanelBitmap();
    auto count = [&](int x0, int d, std::uint8_t c) {
        int n = 0;
        for (int y = 1; y < 37; ++y)
            for (int x = 1; x < 37; ++x)
                n += At(r, x0 + x, 38 * d + y) == c;
        return n;
    };
    for (int d = 0; d < 5; ++d) {
        SCOPED_TRACE(d);
        // Lettering everywhere but on the figure; the figure is dark grey in black.
        EXPECT_EQ(count(0, d, Navy) > 0, d != 3);
        EXPECT_EQ(count(0, d, Red) > 0, d == 2) << "only the restart face has the red double arrow";
        EXPECT_EQ(count(38, d, Red) > 0, d == 2);
    }
    EXPECT_GT(count(0, 3, Black), 20);
    EXPECT_GT(count(0, 3, DarkGrey), count(0, 0, DarkGrey) + 50) << "a dark grey figure";
}

TEST(PixelFont, WidthsAndUnknownCharacters)
{
    EXPECT_EQ(TextWidth("T", TextStyle{}), 5);
    EXPECT_EQ(TextWidth("Tav", TextStyle{}), 5 + 1 + 3 + 1 + 3);
    EXPECT_EQ(TextWidth("GO", TextStyle{Black, true, true}), 6 + 1 + 6 + 3);
    EXPECT_EQ(TextWidth("", TextStyle{}), 0);
    EXPECT_THROW(TextWidth("x", TextStyle{}), std::invalid_argument);
    // Every text of the faces fits its face.
    for (const char *text : {"SHUT", "DOWN", "BOOT", "LOG", "OUT"})
        EXPECT_LE(TextWidth(text, TextStyle{}), 36 - 2) << text;
    EXPECT_LE(TextWidth("Tav", TextStyle{}), 17 - 2);
}

} // namespace
