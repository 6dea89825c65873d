/* Control ids of the Properties dialog (templates 106 and 112), for the
   dialog's code and for properties_dialog.rc. */
#pragma once

#define IDD_PROPERTIES_EN 106
#define IDD_PROPERTIES_JA 112

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
