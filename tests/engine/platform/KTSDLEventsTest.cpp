#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "engine/platform/KTSDLEvents.h"

namespace kt {
namespace {

SDL_Event sdlEvent(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

SDL_Event keyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event = sdlEvent(SDL_KEYDOWN);
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    event.key.repeat = repeat;
    return event;
}

SDL_Event mouseButton(Uint32 type, Uint8 button, Uint32 mouse = 0) {
    SDL_Event event = sdlEvent(type);
    event.button.button = button;
    event.button.which = mouse;
    return event;
}

SDL_Event windowEvent(Uint8 change) {
    SDL_Event event = sdlEvent(SDL_WINDOWEVENT);
    event.window.event = change;
    return event;
}

std::optional<KTEvent> translated(const SDL_Event& sdlEvent) {
    KTEvent event;
    if (!translateSDLEvent(sdlEvent, event)) return std::nullopt;
    return event;
}

TEST(KTSDLEventsTest, KeyDownCarriesSymbolNameAndOnlyTheClosingModifiers) {
    struct Case {
        SDL_Keycode key;
        Uint16 modifiers;
        ButtonName expected;
        bool alt;
        bool gui;
    };
    const Case cases[] = {{SDLK_F4, KMOD_LALT | KMOD_NUM, kbF4, true, false},
                          {SDLK_q, KMOD_RGUI, kbQ, false, true},
                          {SDLK_F4, KMOD_RALT, kbF4, true, false},
                          {SDLK_F4, KMOD_SHIFT | KMOD_CTRL | KMOD_CAPS, kbF4, false, false}};
    for (const Case& key : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << key.key << ", modifiers " << key.modifiers);
        const auto event = translated(keyDown(key.key, key.modifiers));
        ASSERT_TRUE(event);
        EXPECT_EQ(event->type, KTEvent::Type::keyDown);
        EXPECT_EQ(event->key, key.expected);
        EXPECT_EQ(event->altHeld, key.alt);
        EXPECT_EQ(event->guiHeld, key.gui);
    }
    EXPECT_EQ(translated(keyDown(SDLK_F4)).value().keyName, "F4");
}

// Auto-repeated keys pass, releases do not; a touch presses once as a finger, not again as a mouse.
TEST(KTSDLEventsTest, EachEventBecomesItsKindOrIsDropped) {
    using Type = KTEvent::Type;
    const std::pair<SDL_Event, std::optional<Type>> cases[] = {
        {keyDown(SDLK_LEFT, KMOD_NONE, 1), Type::keyDown},
        {sdlEvent(SDL_KEYUP), std::nullopt},
        {mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), Type::mouseDown},
        {mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_X1), Type::mouseUp},
        {sdlEvent(SDL_MOUSEMOTION), Type::mouseMove},
        {sdlEvent(SDL_MOUSEWHEEL), std::nullopt},
        {sdlEvent(SDL_FINGERDOWN), Type::fingerDown},
        {mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID), std::nullopt},
        {mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID), Type::mouseUp},
        {sdlEvent(SDL_QUIT), Type::quit},
        {windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), Type::focusGained},
        {windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), Type::focusLost},
        {windowEvent(SDL_WINDOWEVENT_MOVED), std::nullopt},
        {sdlEvent(SDL_TEXTINPUT), Type::textInput}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(::testing::Message() << "case " << i);
        const auto event = translated(cases[i].first);
        EXPECT_EQ(event ? std::optional(event->type) : std::nullopt, cases[i].second);
    }
}

TEST(KTSDLEventsTest, ButtonsFingersAndTextKeepTheirValues) {
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)).value().mouseButton, 1);
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_X1)).value().mouseButton, 4);

    SDL_Event finger = sdlEvent(SDL_FINGERDOWN);
    finger.tfinger.x = 0.25f;
    finger.tfinger.y = 0.75f;
    EXPECT_EQ(translated(finger).value().finger, (CGPoint{0.25f, 0.75f}));

    SDL_Event text = sdlEvent(SDL_TEXTINPUT);
    std::strcpy(text.text.text, "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(translated(text).value().text, "\xC3\xA9t\xC3\xA9");
}

TEST(KTSDLEventsTest, KeyNamesAreSDLsInBothDirections) {
    EXPECT_EQ(keyFromName("F5"), kbF5);
    EXPECT_EQ(keyFromName("Escape"), kbEscape);
    EXPECT_EQ(keyFromName("return"), kbReturn);
    EXPECT_EQ(keyFromName("W"), kbW);
    EXPECT_EQ(keyFromName("Left Shift"), kbLeftShift);
    EXPECT_EQ(keyFromName("NoSuchKey"), std::nullopt);
    EXPECT_EQ(keyFromName(""), std::nullopt);
    EXPECT_EQ(nameOfKey(kbF5), "F5");
    EXPECT_EQ(nameOfKey(kbW), "W");
}

}  // namespace
}  // namespace kt
