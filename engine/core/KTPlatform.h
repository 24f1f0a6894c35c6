#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "engine/core/KTButtonName.h"
#include "engine/core/KTGeometry.h"

namespace kt {

// A window event in engine terms.
struct KTEvent {
    enum class Type {
        quit,
        focusGained,
        focusLost,
        keyDown,
        textInput,
        mouseMove,
        mouseDown,
        mouseUp,
        fingerDown,
        // The pixels the window draws into may have changed: resized, switched to or from full screen, or
        // moved to another display.
        resized
    };

    Type type = Type::quit;
    ButtonName key = noButton;
    std::string keyName;
    // Platform mouse button: 1 left, 2 middle, 3 right, others beyond.
    int mouseButton = 0;
    std::string text;
    // Finger position as fractions of the touch surface.
    CGPoint finger;
    bool guiHeld = false;
    bool altHeld = false;
    // Position, in drawable pixels, of the pointer that an injected event brings along.
    std::optional<CGPoint> pointer;
};

// The window and event layer the director runs on. Injected events (automation, tests) are delivered
// before the platform's own and move the pointer where they say.
class KTPlatform {
public:
    virtual ~KTPlatform() = default;

    // Milliseconds since an arbitrary start.
    virtual std::uint32_t ticks() = 0;
    virtual CGSize desktopSize() = 0;
    // The part of the desktop a window with its frame may occupy, less that frame.
    virtual CGSize usableWindowArea() = 0;
    virtual bool createWindow(CGSize size) = 0;
    virtual bool hasWindow() const = 0;
    // Gives the window that client size and centres it, frame included, in the usable desktop.
    virtual void placeWindow(CGSize size) = 0;
    // The pixels the window actually draws into, which is not always the size asked for: a window manager
    // may refuse a size, and a HiDPI display has more pixels than the window has screen units.
    virtual CGSize drawableSize() = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    virtual void setWindowIcon(const std::string& pngPath) = 0;
    virtual void setFullscreen(bool fullscreen, CGSize windowSize) = 0;
    virtual void startTextInput() = 0;
    virtual void stopTextInput() = 0;

    bool pollEvent(KTEvent& event);
    // The pointer's current position in the window's drawable pixels.
    CGPoint mousePosition();
    void injectEvent(KTEvent event) { injected_.push_back(std::move(event)); }

protected:
    virtual bool pollPlatformEvent(KTEvent& event) = 0;
    virtual CGPoint platformMousePosition() = 0;

private:
    std::deque<KTEvent> injected_;
    std::optional<CGPoint> injectedPointer_;
};

}  // namespace kt
