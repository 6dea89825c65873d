#include "app/app_state.h"

AppState gApp;
BarSettings gSettings;
BarButtons gButtons;
IconStrip gIconStrip;
FaceFonts gFaceFonts;
MoveState gMove;
SystemPanelState gSystemPanel;
TooltipState gTooltip;
PropertiesDialogState gPropertiesDialog;
LauncherState gLauncher;
