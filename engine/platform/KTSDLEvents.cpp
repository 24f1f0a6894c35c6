#include "engine/platform/KTSDLEvents.h"

#include <cstdint>

namespace kt {
namespace {

KTEvent eventOfType(KTEvent::Type type) {
    KTEvent event;
    event.type = type;
    return event;
}

KTEvent keyDownEvent(const SDL_KeyboardEvent& key) {
    KTEvent event = eventOfType(KTEvent::Type::keyDown);
    event.key = static_cast<ButtonName>(static_cast<std::uint32_t>(key.keysym.sym));
    event.keyName = nameOfKey(event.key);
    event.guiHeld = (key.keysym.mod & KMOD_GUI) != 0;
    event.altHeld = (key.keysym.mod & KMOD_ALT) != 0;
    return event;
}

KTEvent mouseButtonEvent(KTEvent::Type type, const SDL_MouseButtonEvent& button) {
    KTEvent event = eventOfType(type);
    event.mouseButton = button.button;
    return event;
}

std::optional<KTEvent> windowEvent(const SDL_WindowEvent& window) {
    switch (window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            return eventOfType(KTEvent::Type::focusGained);
        case SDL_WINDOWEVENT_FOCUS_LOST:
            return eventOfType(KTEvent::Type::focusLost);
        // Every size change, also into and out of full screen; a display of another pixel density may keep
        // the size in screen units.
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            return eventOfType(KTEvent::Type::resized);
        default:
            return std::nullopt;
    }
}

std::optional<KTEvent> engineEvent(const SDL_Event& sdl) {
    switch (sdl.type) {
        case SDL_QUIT:
            return eventOfType(KTEvent::Type::quit);
        case SDL_WINDOWEVENT:
            return windowEvent(sdl.window);
        case SDL_KEYDOWN:
            return keyDownEvent(sdl.key);
        case SDL_TEXTINPUT: {
            KTEvent event = eventOfType(KTEvent::Type::textInput);
            event.text = sdl.text.text;
            return event;
        }
        case SDL_MOUSEMOTION:
            return eventOfType(KTEvent::Type::mouseMove);
        case SDL_MOUSEBUTTONDOWN:
            // A touch has pressed through its finger event already; its release still comes as a pointer
            // release.
            if (sdl.button.which == SDL_TOUCH_MOUSEID) return std::nullopt;
            return mouseButtonEvent(KTEvent::Type::mouseDown, sdl.button);
        case SDL_MOUSEBUTTONUP:
            return mouseButtonEvent(KTEvent::Type::mouseUp, sdl.button);
        case SDL_FINGERDOWN: {
            KTEvent event = eventOfType(KTEvent::Type::fingerDown);
            event.finger = {sdl.tfinger.x, sdl.tfinger.y};
            return event;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

bool translateSDLEvent(const SDL_Event& sdlEvent, KTEvent& event) {
    std::optional<KTEvent> translated = engineEvent(sdlEvent);
    if (!translated) return false;
    event = std::move(*translated);
    return true;
}

std::optional<ButtonName> keyFromName(std::string_view name) {
    const SDL_Keycode key = SDL_GetKeyFromName(std::string(name).c_str());
    if (key == SDLK_UNKNOWN) return std::nullopt;
    return static_cast<ButtonName>(static_cast<std::uint32_t>(key));
}

std::string nameOfKey(ButtonName key) {
    return SDL_GetKeyName(static_cast<SDL_Keycode>(key));
}

}  // namespace kt
