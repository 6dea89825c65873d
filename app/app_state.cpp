#include "app/app_state.h"

AppState gApp;
bool gSystemPanelShown = false;
MoveState gMove;
