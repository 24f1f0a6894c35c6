#include "engine/platform/KTX11WindowManager.h"

#include <SDL_syswm.h>

namespace kt {

// A window manager announces itself with a _NET_SUPPORTING_WM_CHECK window on the root.
bool KTWindowManagerRuns(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &remaining, &data);
    const bool announced = status == Success && data && count == 1;
    if (data) XFree(data);
    return announced;
#else
    (void)window;
    return true;
#endif
}

}  // namespace kt
