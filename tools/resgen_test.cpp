// The generator's RLE4 writer, checked with a strict decoder written here
// from the format's rules. (How Windows decodes the files is checked under
// Wine; resgen_matches_res freezes the drawings.)
#include <gtest/gtest.h>

#include <string>

#include "tools/face_art.h"
#include "tools/image_files.h"

namespace {

std::uint32_t Get32(const Bytes &b, size_t at)
{
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

// Bottom-up BI_RLE4, strictly: every row filled exactly, every absolute
// stretch padded to 16 bits, no deltas, the end-of-bitmap mark last.
Raster DecodeRle4(const Bytes &data, int width, int height)
{
    Raster out(width, height, 0xEE);
    size_t at = 0;
    int x = 0, y = height - 1;
    auto put = [&](std::uint8_t c) {
        if (x >= width || y < 0)
            throw std::runtime_error("pixel beyond the row");
        out.Set(x++, y, c);
    };
    for (;;) {
        const std::uint8_t n = data.at(at++), v = data.at(at++);
        if (n > 0) {
            for (int i = 0; i < n; ++i)
                put(i & 1 ? v & 0xF : v >> 4);
        } else if (v == 0 || v == 1) {
            if (x != width)
                throw std::runtime_error("row ended early");
            x = 0;
            if (--y < 0 && v == 1 && at == data.size())
                return out;
            if (v == 1)
                throw std::runtime_error("end of bitmap misplaced");
        } else if (v == 2) {
            throw std::runtime_error("delta is not used");
        } else {
            for (int i = 0; i < v; ++i)
                put(i & 1 ? data.at(at + i / 2) & 0xF : data.at(at + i / 2) >> 4);
            at += (v + 1) / 2 + ((v + 1) / 2 & 1);
        }
    }
}

// Every bitmap the bar ships: 4 bits a pixel, BI_RLE4, 16 colours, its size,
// and pixels that a strict decoder reads back as drawn.
TEST(BitmapFile, ShippedBitmapsAreStrictRle4)
{
    for (const Raster &picture : {BlankFaceBitmap(), PageArrowsBitmap(), PinBitmap(), PanelToggleBitmap(),
                                  PageNumberPlateBitmap(), SystemPanelBitmap()}) {
        const Bytes f = BitmapFile(picture);
        EXPECT_EQ(std::vector<std::uint32_t>({Get32(f, 2), Get32(f, 10), Get32(f, 18), Get32(f, 22),
                                              Get32(f, 28) & 0xFFFF, Get32(f, 30), Get32(f, 46)}),
                  std::vector<std::uint32_t>({static_cast<std::uint32_t>(f.size()), 118,
                                              static_cast<std::uint32_t>(picture.width),
                                              static_cast<std::uint32_t>(picture.height), 4, 2, 16}));
        EXPECT_EQ(DecodeRle4(Bytes(f.begin() + 118, f.end()), picture.width, picture.height), picture);
    }
    EXPECT_THROW(BitmapFile(Raster(4, 4, kTransparent)), std::invalid_argument);
}

} // namespace
