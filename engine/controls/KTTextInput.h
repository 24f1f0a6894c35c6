#pragma once

#include <string>

#include "engine/render/KTText.h"

namespace kt {

// A one-line text field. A press gives it the scene's keyboard focus; typed text is appended up to `limit`
// characters (0 takes none), Backspace removes the last character and Return or keypad Enter runs the
// "on_return" handler. Characters are whole code points: neither the limit nor Backspace ever splits one.
// The text is written through to a bound text provider. While focused, the child "cursor" stands behind
// the last character.
class KTTextInput : public KTText {
public:
    KT_CLASS(KTTextInput)

    KTTextInput();

    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }
    bool hasFocus();
    // Replaces the text, also in the bound provider.
    void setTypedText(std::string text);

    void setAttributes(const XMLAttributes& attributes) override;
    void draw() override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void textInput(const std::string& text) override;
    void keyDown(ButtonName button) override;
    void onFocus() override;
    void onUnfocus() override;

private:
    std::size_t limit_ = 0;
};

}  // namespace kt
