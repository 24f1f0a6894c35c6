#pragma once

#include <SDL.h>

#include <optional>
#include <string>
#include <string_view>

#include "engine/core/KTPlatform.h"

namespace kt {

// Turns an SDL event into the engine's; false for the events the engine leaves alone (key releases, the
// wheel, the pointer presses that SDL makes up from touches, which arrive as finger presses already).
bool translateSDLEvent(const SDL_Event& sdlEvent, KTEvent& event);

// The key of an SDL key name ("F5", "Escape", "Return", "w"); none for a name SDL does not know.
std::optional<ButtonName> keyFromName(std::string_view name);
std::string nameOfKey(ButtonName key);

}  // namespace kt
