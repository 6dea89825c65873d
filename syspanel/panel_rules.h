// Which command a cell of the system panel stands for. No Win32 here.
#pragma once

// The last five cells of the grid, in this order; the cells before them are blank.
enum PanelAction : int { PanelShutDown, PanelLogOff, PanelRestart, PanelQuit, PanelRun, kPanelActions };

// The action of the cell at `position` (0-based, along the row or down the
// column) of a grid of `cells`: 0 to 4 for the last five, negative for a
// blank cell, above 4 for a position beyond the grid.
constexpr int PanelActionIndex(int position, int cells) { return position - cells + kPanelActions; }
