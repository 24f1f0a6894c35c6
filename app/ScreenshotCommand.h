#pragma once

#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

// screenshot PATH: the next frame's logical 1024 x 768 screen as a PNG file, read before the frame is
// shown, in a window or headless. The command after it runs once the file is written.
void addScreenshotCommand(ScriptCommandRegistry& commands);

}  // namespace moonbrook
