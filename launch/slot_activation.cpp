#include "launch/slot_activation.h"

#include <memory>

static std::unique_ptr<RunHistory> gRunHistory;

// Clicks start nothing yet: slot activation is still to come.
void OnSlotCommand(HWND, int, HWND) {}

LRESULT OnFilesDropped(HWND, HDROP drop)
{
    // Nobody takes the files yet; the drop's memory must still be given back.
    DragFinish(drop);
    return 0;
}

void CreateRunHistory() { gRunHistory = std::make_unique<RunHistory>(); }
void FreeRunHistory() { gRunHistory.reset(); }
