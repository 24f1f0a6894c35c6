#pragma once

#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

// The commands that drive the screens by their nodes and states:
// click-node NAME (a click at the centre of the first visible node of that name on stage) ·
// wait-scene CLASS [MAX] · wait-state STATE [MAX] (frames until the running scene is of that class, or in
// that state; at most MAX, 1200 without, else the script stops) · dump profiles PATH (the profiles as JSON).
void addScreenScriptCommands(ScriptCommandRegistry& commands);

}  // namespace moonbrook
