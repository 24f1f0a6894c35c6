#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "engine/core/KTPlatform.h"

namespace kt {

// The window and event layer on SDL 2. Headless, SDL's dummy video driver stands in for the display, so the
// program runs everywhere and draws through the software path.
class KTSDLPlatform : public KTPlatform {
public:
    // Starts SDL's video; none, with the reason in `error`, when no display can be opened.
    static std::unique_ptr<KTSDLPlatform> create(bool headless, std::string& error);

    ~KTSDLPlatform() override;
    KTSDLPlatform(const KTSDLPlatform&) = delete;
    KTSDLPlatform& operator=(const KTSDLPlatform&) = delete;

    std::uint32_t ticks() override { return SDL_GetTicks(); }
    CGSize desktopSize() override;
    CGSize usableWindowArea() override;
    bool createWindow(CGSize size) override;
    bool hasWindow() const override { return window_ != nullptr; }
    void placeWindow(CGSize size) override;
    CGSize drawableSize() override;
    void setWindowTitle(const std::string& title) override;
    void setWindowIcon(const std::string& pngPath) override;
    void setFullscreen(bool fullscreen, CGSize windowSize) override;
    void startTextInput() override { SDL_StartTextInput(); }
    void stopTextInput() override { SDL_StopTextInput(); }

    // For the rendering back end, which draws into the window.
    SDL_Window* window() const { return window_.get(); }

protected:
    bool pollPlatformEvent(KTEvent& event) override;
    CGPoint platformMousePosition() override;

private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };

    struct Borders {
        int top = 0;
        int left = 0;
        int bottom = 0;
        int right = 0;
    };

    explicit KTSDLPlatform(const SDL_DisplayMode& desktopMode) : desktopMode_(desktopMode) {}
    SDL_Rect usableBounds() const;
    Borders borders() const;
    void coverDisplay();

    SDL_DisplayMode desktopMode_;
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    // Full screen stood in for by a window over the whole display, where no window manager would grant it.
    bool covering_ = false;
    // The icon found missing last, so that a missing icon is reported once.
    std::string missingIconPath_;
};

}  // namespace kt
