#include "app/app_state.h"

AppState gApp;
BarSettings gSettings;
BarState gBar;
SystemPanelState gSystemPanel;
TooltipState gTooltip;
LauncherState gLauncher;
