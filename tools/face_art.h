// Every picture the bar loads from its resources, drawn from its design:
// the button faces and their symbols, the icons and the wait cursor.
#pragma once
#include "tools/raster.h"

constexpr int kSlotFaceSize = 38;   // one face of the slot buttons
constexpr int kControlCellSize = 19;  // one face of the small control buttons
constexpr int kIconSize = 32;

// Bitmaps: raised faces in the left column, pressed faces in the right one.
Raster BlankFaceBitmap();       // 76 x 38
Raster PageArrowsBitmap();      // 38 x 38: left arrow row, right arrow row
Raster PinBitmap();             // 38 x 38: up arrow row, down arrow row
Raster PanelToggleBitmap();     // 38 x 19: "Tav"
Raster PageNumberPlateBitmap();  // 38 x 38: two 19 x 38 plates
Raster SystemPanelBitmap();     // 76 x 190: the five panel faces

// Icons, 32 x 32.
Raster ProgramIcon();            // the bar's own icon
Raster DefaultProgramIcon();     // for programs whose icon cannot be extracted
Raster AnimationIcon(int frame);  // frame 0 to 3: the clock of the Properties dialog
Raster MoveMarkIcon();           // the hatch laid over every slot in move mode

struct CursorPicture {
    Raster picture;
    int hotX = 0;
    int hotY = 0;
};
CursorPicture WaitCursor();
