// Ids of the bar's bitmaps, icons and cursor, for the code and for images.rc.
#pragma once

// Bitmaps: raised faces on the left, pressed faces on the right.
#define IDB_BLANK_FACE 101    /* slot face, 76 x 38 */
#define IDB_PAGE_ARROWS 102   /* 501 and 502, 38 x 38 */
#define IDB_PIN 503           /* 503, up arrow row, down arrow row */
#define IDB_PANEL_TOGGLE 504  /* 504, "Tav" */
#define IDB_PAGE_PLATE 505    /* 505, plate without digits */
#define IDB_SYSTEM_PANEL 506  /* the five system panel faces, 76 x 190 */

#define IDI_TAV 110              /* the program's own icon */
#define IDI_DEFAULT_PROGRAM 111  /* a program whose icon cannot be extracted */
#define IDI_ANIMATION_FIRST 113  /* 113 to 116: the Properties dialog's clock */
#define IDI_ANIMATION_LAST 116
#define IDI_MOVE_MARK 118        /* the hatch over every slot in move mode */

#define IDCUR_WAIT 119  /* shown while the icon strip is built */
