#include "tools/image_files.h"

#include <algorithm>
#include <stdexcept>

const Rgb kVgaPalette[16] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

namespace {

void Put16(Bytes &out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes &out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER; the height is doubled for icons and cursors, whose
// image is followed by its mask.
void PutInfoHeader(Bytes &out, int width, int height, int bitCount, std::uint32_t compression,
                   std::uint32_t sizeImage, std::uint32_t colours)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, compression);
    Put32(out, sizeImage);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

void PutPalette(Bytes &out, const Rgb *colours, int count)
{
    for (int i = 0; i < count; ++i) {
        out.push_back(colours[i].b);
        out.push_back(colours[i].g);
        out.push_back(colours[i].r);
        out.push_back(0);
    }
}

void CheckPaletteOnly(const Raster &picture)
{
    for (std::uint8_t p : picture.pixels)
        if (p > White)
            throw std::invalid_argument("a bitmap pixel outside the 16 colours");
}

// Length of the run at x that alternates between x's colour and the next
// one's, as one encoded pair describes it; at most 255 pixels.
int PairRunLength(const std::uint8_t *row, int width, int x)
{
    const std::uint8_t first = row[x];
    const std::uint8_t second = x + 1 < width ? row[x + 1] : first;
    int n = 1;
    while (x + n < width && n < 255 && row[x + n] == ((n & 1) ? second : first))
        ++n;
    return n;
}

// Runs shorter than this go into absolute stretches, where they cost half a
// byte a pixel instead of two bytes a run.
constexpr int kWorthARun = 4;

void EncodeRow(Bytes &out, const std::uint8_t *row, int width)
{
    int x = 0;
    while (x < width) {
        int n = PairRunLength(row, width, x);
        if (n >= kWorthARun || width - x < 3) {
            const std::uint8_t second = n > 1 ? row[x + 1] : row[x];
            out.push_back(static_cast<std::uint8_t>(n));
            out.push_back(static_cast<std::uint8_t>(row[x] << 4 | second));
            x += n;
            continue;
        }
        // Absolute stretch: up to the next worthwhile run, at least 3 pixels.
        int end = x;
        while (end < width && end - x < 255 && PairRunLength(row, width, end) < kWorthARun)
            ++end;
        end = std::max(end, x + 3);
        const int count = end - x;
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(count));
        for (int i = 0; i < count; i += 2) {
            const std::uint8_t lo = i + 1 < count ? row[x + i + 1] : 0;
            out.push_back(static_cast<std::uint8_t>(row[x + i] << 4 | lo));
        }
        // An absolute stretch ends on a 16-bit boundary.
        if (((count + 1) / 2) & 1)
            out.push_back(0);
        x = end;
    }
}

} // namespace

Bytes EncodeRle4(const Raster &picture)
{
    Bytes out;
    for (int y = picture.height - 1; y >= 0; --y) {
        EncodeRow(out, &picture.pixels[static_cast<size_t>(y) * picture.width], picture.width);
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);
    }
    return out;
}

Bytes BitmapFile(const Raster &picture)
{
    CheckPaletteOnly(picture);
    const Bytes data = EncodeRle4(picture);
    constexpr std::uint32_t kOffBits = 14 + 40 + 16 * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, kOffBits + static_cast<std::uint32_t>(data.size()));
    Put32(out, 0);
    Put32(out, kOffBits);
    PutInfoHeader(out, picture.width, picture.height, 4, 2 /* BI_RLE4 */, static_cast<std::uint32_t>(data.size()),
                  16);
    PutPalette(out, kVgaPalette, 16);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

namespace {

// The AND mask: one bit a pixel, set where the screen shows through, rows
// bottom-up and padded to 32 bits.
void PutMask(Bytes &out, const Raster &picture)
{
    const int stride = (picture.width + 31) / 32 * 4;
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(stride), 0);
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y) == kTransparent)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

// ICONDIR with one entry; for a cursor the planes and bit-count fields hold the hot spot.
Bytes DirectoryWithOneImage(unsigned type, const Raster &picture, int colours, unsigned field1, unsigned field2,
                            std::uint32_t imageSize)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, 1);
    out.push_back(static_cast<std::uint8_t>(picture.width));
    out.push_back(static_cast<std::uint8_t>(picture.height));
    out.push_back(static_cast<std::uint8_t>(colours));
    out.push_back(0);
    Put16(out, field1);
    Put16(out, field2);
    Put32(out, imageSize);
    Put32(out, 6 + 16);
    return out;
}

} // namespace

Bytes IconFile(const Raster &picture)
{
    const int colourStride = (picture.width * 4 + 31) / 32 * 4;
    const int maskStride = (picture.width + 31) / 32 * 4;
    const auto imageSize = static_cast<std::uint32_t>(40 + 16 * 4 + (colourStride + maskStride) * picture.height);
    Bytes out = DirectoryWithOneImage(1, picture, 16, 1, 4, imageSize);
    PutInfoHeader(out, picture.width, picture.height * 2, 4, 0, static_cast<std::uint32_t>(imageSize - 40 - 64), 0);
    PutPalette(out, kVgaPalette, 16);
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(colourStride), 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t p = picture.At(x, y);
            if (p != kTransparent && p > White)
                throw std::invalid_argument("an icon pixel outside the 16 colours");
            // Transparent pixels are black in the image, so the mask alone decides.
            const std::uint8_t c = p == kTransparent ? std::uint8_t{Black} : p;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? c : c << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    PutMask(out, picture);
    return out;
}

Bytes CursorFile(const Raster &picture, int hotX, int hotY)
{
    const int stride = (picture.width + 31) / 32 * 4;
    const auto imageSize = static_cast<std::uint32_t>(40 + 2 * 4 + 2 * stride * picture.height);
    Bytes out = DirectoryWithOneImage(2, picture, 2, static_cast<unsigned>(hotX), static_cast<unsigned>(hotY),
                                      imageSize);
    PutInfoHeader(out, picture.width, picture.height * 2, 1, 0, static_cast<std::uint32_t>(imageSize - 40 - 8), 0);
    const Rgb blackWhite[2] = {kVgaPalette[Black], kVgaPalette[White]};
    PutPalette(out, blackWhite, 2);
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(stride), 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t p = picture.At(x, y);
            if (p != Black && p != White && p != kTransparent)
                throw std::invalid_argument("a cursor pixel other than black, white or transparent");
            if (p == White)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    PutMask(out, picture);
    return out;
}
