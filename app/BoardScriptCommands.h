#pragma once

#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

// The commands that act on the running board, in its cell coordinates:
// click-cell CX CY · drag-cell CX CY DX DY (press on the cell, move DX, DY cells in small steps, release)
// · wait-idle [MAX] (frames until nothing moves or waits on the board, at most MAX, 3600 without)
// · dump board PATH (the board's state as JSON). A run without a board, or a cell the board lacks, stops the
// script.
void addBoardScriptCommands(ScriptCommandRegistry& commands);

}  // namespace moonbrook
