#include "app/app_state.h"

AppState gApp;
BarState gBar;
SystemPanelState gSystemPanel;
TooltipState gTooltip;
LauncherState gLauncher;
