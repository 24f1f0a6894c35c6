#pragma once

#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

// wait N · move X Y · press X Y [button] · release X Y [button] · click X Y [button] · key NAME · text STRING
// · dump scene PATH · quit. Points are on the logical 1024 x 768 screen; buttons are left (default), right,
// middle. The input of move, press, release, click, key and text arrives in the next frame, and the command
// after them runs only after that frame, so that it sees what the input did.
void addBasicScriptCommands(ScriptCommandRegistry& commands);

}  // namespace moonbrook
