// The file formats the resource compiler takes: 16-colour bitmaps stored
// with BI_RLE4, 16-colour icons and monochrome cursors.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/raster.h"

using Bytes = std::vector<std::uint8_t>;

// The pixel data of a bottom-up BI_RLE4 bitmap: every row ends with an
// end-of-line mark, the last one with the end-of-bitmap mark.
Bytes EncodeRle4(const Raster &picture);

// A .bmp file: file header, BITMAPINFOHEADER, the VGA palette, RLE4 data.
// Every pixel must be one of the 16 palette colours.
Bytes BitmapFile(const Raster &picture);

// A single-image .ico file: 4 bits per pixel with the VGA palette and an
// AND mask that is set exactly where the picture is kTransparent.
Bytes IconFile(const Raster &picture);

// A single-image .cur file, 1 bit per pixel (black and white) with its AND
// mask; kTransparent pixels show the screen.
Bytes CursorFile(const Raster &picture, int hotX, int hotY);
