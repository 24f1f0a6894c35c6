#include "engine/platform/KTSDLPlatform.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "engine/core/KTLog.h"
#include "engine/platform/KTSDLEvents.h"
#include "engine/platform/KTX11WindowManager.h"

namespace kt {
namespace {

constexpr int kDisplay = 0;

void useHeadlessDrivers() {
    // Overriding, so that a display named in the environment cannot make a headless run fail.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
}

// Without a display SDL falls back to drivers that show nothing; a player would get an invisible game. They
// are taken only when asked for: headless, or named in SDL_VIDEODRIVER.
bool showsNothingUnasked(bool headless) {
    const std::string_view driver = SDL_GetCurrentVideoDriver();
    return !headless && !std::getenv("SDL_VIDEODRIVER") && (driver == "offscreen" || driver == "dummy");
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

struct PixelsDeleter {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

std::unique_ptr<KTSDLPlatform> KTSDLPlatform::create(bool headless, std::string& error) {
    if (headless) useHeadlessDrivers();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    if (showsNothingUnasked(headless)) {
        error = "no display found";
        SDL_Quit();
        return nullptr;
    }
    SDL_DisplayMode desktopMode{};
    if (SDL_GetDesktopDisplayMode(kDisplay, &desktopMode) != 0) {
        error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    // SDL turns text input on by itself; text-entry controls switch it on when they need it.
    SDL_StopTextInput();
    return std::unique_ptr<KTSDLPlatform>(new KTSDLPlatform(desktopMode));
}

KTSDLPlatform::~KTSDLPlatform() {
    window_.reset();
    SDL_Quit();
}

CGSize KTSDLPlatform::desktopSize() {
    return {static_cast<float>(desktopMode_.w), static_cast<float>(desktopMode_.h)};
}

SDL_Rect KTSDLPlatform::usableBounds() const {
    SDL_Rect area{0, 0, desktopMode_.w, desktopMode_.h};
    SDL_GetDisplayUsableBounds(kDisplay, &area);
    return area;
}

// The frame is known only once the window shows, and not on every window system.
KTSDLPlatform::Borders KTSDLPlatform::borders() const {
    Borders frame;
    if (window_ && SDL_GetWindowBordersSize(window_.get(), &frame.top, &frame.left, &frame.bottom,
                                            &frame.right) != 0) {
        frame = {};
    }
    return frame;
}

CGSize KTSDLPlatform::usableWindowArea() {
    const SDL_Rect area = usableBounds();
    const Borders frame = borders();
    return {static_cast<float>(area.w - frame.left - frame.right),
            static_cast<float>(area.h - frame.top - frame.bottom)};
}

// SDL places a window's client area; the frame goes around it, so the title bar stays inside the work area.
void KTSDLPlatform::placeWindow(CGSize size) {
    if (!window_) return;
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    SDL_SetWindowSize(window_.get(), width, height);
    const SDL_Rect area = usableBounds();
    const Borders frame = borders();
    const int x = area.x + frame.left + std::max(0, (area.w - frame.left - frame.right - width) / 2);
    const int y = area.y + frame.top + std::max(0, (area.h - frame.top - frame.bottom - height) / 2);
    SDL_SetWindowPosition(window_.get(), x, y);
}

CGSize KTSDLPlatform::drawableSize() {
    if (!window_) return {};
    int width = 0, height = 0;
    SDL_Renderer* renderer = SDL_GetRenderer(window_.get());
    if (!renderer || SDL_GetRendererOutputSize(renderer, &width, &height) != 0)
        SDL_GetWindowSizeInPixels(window_.get(), &width, &height);
    return {static_cast<float>(width), static_cast<float>(height)};
}

bool KTSDLPlatform::createWindow(CGSize size) {
    window_.reset(SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED_DISPLAY(kDisplay),
                                   SDL_WINDOWPOS_CENTERED_DISPLAY(kDisplay), static_cast<int>(size.width),
                                   static_cast<int>(size.height), SDL_WINDOW_SHOWN));
    if (!window_) KTLog("SDL_CreateWindow failed: %s", SDL_GetError());
    return window_ != nullptr;
}

void KTSDLPlatform::setWindowTitle(const std::string& title) {
    if (window_) SDL_SetWindowTitle(window_.get(), title.c_str());
}

void KTSDLPlatform::setWindowIcon(const std::string& pngPath) {
    if (!window_) return;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, PixelsDeleter> pixels(
        stbi_load(pngPath.c_str(), &width, &height, &channels, STBI_rgb_alpha));
    if (!pixels) {
        if (pngPath != missingIconPath_)
            KTLog("window icon not loaded: %@ (%s)", pngPath, stbi_failure_reason());
        missingIconPath_ = pngPath;
        return;
    }
    const std::unique_ptr<SDL_Surface, SurfaceDeleter> icon(SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.get(), width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32));
    if (icon) SDL_SetWindowIcon(window_.get(), icon.get());
}

void KTSDLPlatform::setFullscreen(bool fullscreen, CGSize windowSize) {
    if (!window_) return;
    SDL_Window* window = window_.get();
    if (fullscreen && !KTWindowManagerRuns(window)) {
        coverDisplay();
    } else if (fullscreen) {
        SDL_SetWindowDisplayMode(window, &desktopMode_);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
            KTLog("full screen failed: %s", SDL_GetError());
        }
    } else {
        if (!covering_) SDL_SetWindowFullscreen(window, 0);
        covering_ = false;
        placeWindow(windowSize);
    }
}

// Without a window manager the X server moves and sizes windows as asked, and nothing draws a frame.
void KTSDLPlatform::coverDisplay() {
    SDL_Rect bounds{0, 0, desktopMode_.w, desktopMode_.h};
    SDL_GetDisplayBounds(kDisplay, &bounds);
    covering_ = true;
    SDL_SetWindowPosition(window_.get(), bounds.x, bounds.y);
    SDL_SetWindowSize(window_.get(), bounds.w, bounds.h);
    KTLog("window covers the display: %i x %i", bounds.w, bounds.h);
}

bool KTSDLPlatform::pollPlatformEvent(KTEvent& event) {
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent)) {
        if (translateSDLEvent(sdlEvent, event)) return true;
    }
    return false;
}

// SDL reports the pointer in screen units, which a HiDPI display divides into several pixels.
CGPoint KTSDLPlatform::platformMousePosition() {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    int width = 0, height = 0;
    if (window_) SDL_GetWindowSize(window_.get(), &width, &height);
    if (width <= 0 || height <= 0) return {static_cast<float>(x), static_cast<float>(y)};
    const CGSize pixels = drawableSize();
    return {static_cast<float>(x) * pixels.width / static_cast<float>(width),
            static_cast<float>(y) * pixels.height / static_cast<float>(height)};
}

}  // namespace kt
