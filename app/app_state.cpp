#include "app/app_state.h"

AppState gApp;
BarSettings gSettings;
BarButtons gButtons;
IconStrip gIconStrip;
FaceResources gFaceResources;
MoveState gMove;
KeyboardState gKeyboard;
SystemPanelState gSystemPanel;
TooltipState gTooltip;
PropertiesDialogState gPropertiesDialog;
LauncherState gLauncher;
