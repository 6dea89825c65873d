#include "bar/pages.h"

// Paging, pinning and the page menu are still to come: these take nothing yet.
void OnPageCommand(HWND, int) {}
LRESULT OnSlotRightClick(HWND, WPARAM, LPARAM) { return 0; }
LRESULT OnPageMenu(HWND, WPARAM, LPARAM) { return 0; }
LRESULT OnGotoPage(HWND, int) { return 0; }
