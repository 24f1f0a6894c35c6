#include <gtest/gtest.h>

#include <cstring>

#include "engine/platform/KTSDLEvents.h"

namespace kt {
namespace {

SDL_Event keyDown(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event mouseButton(Uint32 type, Uint8 button, Uint32 mouse = 0) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.which = mouse;
    return event;
}

std::optional<KTEvent> translated(const SDL_Event& sdlEvent) {
    KTEvent event;
    if (!translateSDLEvent(sdlEvent, event)) return std::nullopt;
    return event;
}

TEST(KTSDLEventsTest, KeyDownCarriesSymbolNameAndTheClosingModifiers) {
    const auto altF4 = translated(keyDown(SDLK_F4, KMOD_LALT | KMOD_NUM));
    ASSERT_TRUE(altF4);
    EXPECT_EQ(altF4->type, KTEvent::Type::keyDown);
    EXPECT_EQ(altF4->key, kbF4);
    EXPECT_EQ(altF4->keyName, "F4");
    EXPECT_TRUE(altF4->altHeld);
    EXPECT_FALSE(altF4->guiHeld);

    const auto guiQ = translated(keyDown(SDLK_q, KMOD_RGUI));
    ASSERT_TRUE(guiQ);
    EXPECT_EQ(guiQ->key, kbQ);
    EXPECT_TRUE(guiQ->guiHeld);
    EXPECT_FALSE(guiQ->altHeld);

    const auto rightAlt = translated(keyDown(SDLK_F4, KMOD_RALT));
    EXPECT_TRUE(rightAlt && rightAlt->altHeld);

    const auto plain = translated(keyDown(SDLK_F4, KMOD_SHIFT | KMOD_CTRL | KMOD_CAPS));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->altHeld || plain->guiHeld);
}

TEST(KTSDLEventsTest, AutoRepeatedKeysArePassedOnAndReleasesAreNot) {
    SDL_Event repeat = keyDown(SDLK_LEFT);
    repeat.key.repeat = 1;
    const auto event = translated(repeat);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->key, kbLeft);

    SDL_Event release = keyDown(SDLK_LEFT);
    release.type = SDL_KEYUP;
    EXPECT_FALSE(translated(release));
}

TEST(KTSDLEventsTest, MouseButtonsKeepSDLNumbers) {
    const auto left = translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    ASSERT_TRUE(left);
    EXPECT_EQ(left->type, KTEvent::Type::mouseDown);
    EXPECT_EQ(left->mouseButton, 1);

    const auto extra = translated(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_X1));
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->type, KTEvent::Type::mouseUp);
    EXPECT_EQ(extra->mouseButton, 4);

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    EXPECT_EQ(translated(motion)->type, KTEvent::Type::mouseMove);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    EXPECT_FALSE(translated(wheel));
}

TEST(KTSDLEventsTest, ATouchPressesOnceAndStillReleases) {
    SDL_Event finger{};
    finger.type = SDL_FINGERDOWN;
    finger.tfinger.x = 0.25f;
    finger.tfinger.y = 0.75f;
    const auto press = translated(finger);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->type, KTEvent::Type::fingerDown);
    EXPECT_FLOAT_EQ(press->finger.x, 0.25f);
    EXPECT_FLOAT_EQ(press->finger.y, 0.75f);

    EXPECT_FALSE(translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID)));
    EXPECT_TRUE(translated(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID)));
}

TEST(KTSDLEventsTest, QuitFocusAndText) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translated(quit)->type, KTEvent::Type::quit);

    SDL_Event window{};
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    EXPECT_EQ(translated(window)->type, KTEvent::Type::focusGained);
    window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_EQ(translated(window)->type, KTEvent::Type::focusLost);
    window.window.event = SDL_WINDOWEVENT_MOVED;
    EXPECT_FALSE(translated(window));

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "\xC3\xA9t\xC3\xA9");
    const auto typed = translated(text);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->type, KTEvent::Type::textInput);
    EXPECT_EQ(typed->text, "\xC3\xA9t\xC3\xA9");
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
