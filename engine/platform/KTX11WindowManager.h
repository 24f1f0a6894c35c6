#pragma once

#include <SDL.h>

namespace kt {

// False only for a window on an X server that runs no window manager. Nothing there acts on a full-screen
// request, yet SDL takes it as granted and draws for the display's size into the unchanged window.
bool KTWindowManagerRuns(SDL_Window* window);

}  // namespace kt
