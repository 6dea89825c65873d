/* Every id the resources and the code share: dialogs and their controls,
   the bar's buttons, menu commands, strings, bitmaps, icons and the cursor.
   Read by windres and by C++ alike, so macros only; each id is defined here
   and nowhere else. */
#pragma once

/* Dialog templates: English and Japanese. */
#define IDD_PROPERTIES_EN 106
#define IDD_PROPERTIES_JA 112
#define IDD_PROGRAM_EN 107
#define IDD_PROGRAM_JA 110
#define IDD_RUN_EN 109
#define IDD_RUN_JA 111

/* The bar's buttons: the five control buttons and the slots, 1000 + position. */
#define IDC_PREV_PAGE 501
#define IDC_NEXT_PAGE 502
#define IDC_PIN 503
#define IDC_SYSTEM_PANEL 504
#define IDC_PAGE_NUMBER 505
#define IDC_FIRST_SLOT 1000
/* The page menu of the arrows: IDM_GOTO_PAGE + page. */
#define IDM_GOTO_PAGE 5120

/* Controls shared by the Program Definition and Execute Application dialogs. */
#define IDC_BROWSE_PROGRAM 1001
#define IDC_RUN_MINIMIZED 1005

/* Program Definition (107, 110); the control order in the templates is the tab order. */
#define IDC_REMOVE 3
#define IDC_BROWSE_ICON 1002
#define IDC_PROGRAM 1006
#define IDC_ICON_FILE 1007
#define IDC_PREVIEW 1008
#define IDC_DIRECTORY 1009
#define IDC_ICON_INDEX 1010
#define IDC_INTERLOCK 1011
#define IDC_TITLE 1012

/* Execute Application (109, 111): the combo box holds the text and the history. */
#define IDC_RUN_COMMAND 1004

/* Properties (106, 112). */
#define IDC_ANIMATION 1008   /* white frame the clock is painted into */
#define IDC_PAGES 1012       /* number of pages, two characters */
#define IDC_CORNER 1013      /* corner list, index = corner value */
#define IDC_ORIENTATION 1015 /* horizontal, vertical */
#define IDC_SMALL 1016
#define IDC_CREDITS 1017
#define IDC_NO_TIPS 1018
#define IDC_PAGE_SPIN 1019   /* scroll bar with an empty range: only its arrows */
#define IDC_PLATFORM 1020
#define IDC_VERSION 1023
#define IDC_PAGES_FIRST 1024
#define IDC_HOT_KEY 1025     /* the system's hotkey control */

/* Strings: the Japanese text at each base id, the English one at base + 1 (23 has one text). */
#define IDS_EXECUTE_TITLE 1
#define IDS_BROWSE_PROGRAM 3
#define IDS_BROWSE_ICON 5
#define IDS_PAGE_RANGE 7
#define IDS_CORNER_NONE 9
#define IDS_CORNER_UPPER_LEFT 11
#define IDS_CORNER_UPPER_RIGHT 13
#define IDS_CORNER_LOWER_LEFT 15
#define IDS_CORNER_LOWER_RIGHT 17
#define IDS_HORIZONTAL 19
#define IDS_VERTICAL 21
#define IDS_PLATFORM 23
#define IDS_EXECUTE_ERROR 24
#define IDS_MULTI_DROP 26
#define IDS_NOT_STORED 28
#define IDS_NAME_NOT_IN_CODE_PAGE 30
#define IDS_PATH_HAS_DELIMITER 32
#define IDS_MANY_DROPPED_FILES 34
#define IDS_PATH_TOO_LONG 36  /* %u: the longest path a start takes; the file's name follows */
#define IDS_HOT_KEY_TAKEN 38  /* the key's name follows */
/* The control buttons' names; the page number's takes the page. */
#define IDS_PREVIOUS_PAGE 60
#define IDS_NEXT_PAGE 62
#define IDS_PIN 64
#define IDS_SYSTEM_PANEL 66
#define IDS_PAGE_NUMBER 68
#define IDS_PANEL_ACTIONS 80  /* the five actions' names, one a line, in the panel's order */
#define IDS_PAGE_MENU_ITEM 82

/* Bitmaps: raised faces on the left, pressed faces on the right. */
#define IDB_BLANK_FACE 101    /* slot face, 76 x 38 */
#define IDB_PAGE_ARROWS 102   /* 501 and 502, 38 x 38 */
#define IDB_PIN 503           /* 503, up arrow row, down arrow row */
#define IDB_PANEL_TOGGLE 504  /* 504, "Tav" */
#define IDB_PAGE_PLATE 505    /* 505, plate without digits */
#define IDB_SYSTEM_PANEL 506  /* the five system panel faces, 76 x 190 */

#define IDI_TAV 110              /* the program's own icon */
#define IDI_DEFAULT_PROGRAM 111  /* a program whose icon cannot be extracted */
#define IDI_ANIMATION_FIRST 113  /* 113 to 116: the Properties dialog's clock */
#define IDI_ANIMATION_2 114
#define IDI_ANIMATION_3 115
#define IDI_ANIMATION_LAST 116
#define IDI_MOVE_MARK 118        /* the hatch over every slot in move mode */

#define IDCUR_WAIT 119  /* shown while the icon strip is built */
