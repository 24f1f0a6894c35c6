#include "engine/controls/KTTextInput.h"

#include <charconv>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTUnicode.h"

namespace kt {
namespace {

// Typed text as well-formed UTF-8 without control characters. Characters the font lacks are kept: a name
// is the player's data, and a font without the glyph merely leaves it out when drawing.
std::string printable(std::string_view typed) {
    std::u16string units = KTUTF16FromUTF8(typed);
    std::erase_if(units, [](char16_t unit) { return unit < 0x20 || unit == 0x7F; });
    return KTUTF8FromUTF16(units);
}

}  // namespace

const KTClass& KTTextInput::staticClass() {
    static const KTClass& cls = KTClass::define<KTTextInput>("KTTextInput", KTText::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTTextInput);

// Texts take no input; a text field does.
KTTextInput::KTTextInput() {
    setEnabled(true);
}

void KTTextInput::setAttributes(const XMLAttributes& attributes) {
    KTText::setAttributes(attributes);
    if (const std::string* limit = attributes.find("limit")) {
        unsigned parsed = 0;
        const auto [end, error] = std::from_chars(limit->data(), limit->data() + limit->size(), parsed);
        if (error == std::errc() && end == limit->data() + limit->size()) {
            limit_ = parsed;
        } else {
            KTLogContentProblem("text input limit \"" + *limit + "\" is not a number", fileBeingLoaded());
        }
    }
    if (const std::string* definition = attributes.find("on_return")) {
        setHandlerByDefinition(*definition, "on_return");
    }
}

bool KTTextInput::hasFocus() {
    const auto owner = scene();
    return owner && owner->focus().get() == this;
}

void KTTextInput::buttonDown(ButtonName button, CGPoint point) {
    KTLog("setting focus");
    if (const auto owner = scene()) owner->setFocus(sharedAs<KTNode>());
    KTText::buttonDown(button, point);
}

void KTTextInput::onFocus() {
    KTDirector::shared().startTextInput();
}

void KTTextInput::onUnfocus() {
    KTDirector::shared().stopTextInput();
}

// A paste longer than the room left is cut at the limit, between two characters.
void KTTextInput::textInput(const std::string& typed) {
    const std::size_t length = KTUTF8Length(text());
    if (limit_ == 0 || length >= limit_) return;
    const std::string added = printable(typed);
    setTypedText(text() + std::string(KTUTF8Prefix(added, limit_ - length)));
    if (const auto source = dataSource()) {
        KTLog("textInput... dstext = %@ dataSOurce = %@", text(), source->className());
    }
}

void KTTextInput::keyDown(ButtonName button) {
    if (button == kbBackspace) {
        std::string shorter = text();
        KTUTF8RemoveLast(shorter);
        setTypedText(std::move(shorter));
    } else if (button == kbReturn || button == kbEnter) {
        callHandler("on_return");
    }
}

// The provider takes the text without announcing it: it is the field's own value coming back.
void KTTextInput::setTypedText(std::string newText) {
    setText(newText);
    if (const auto source = std::dynamic_pointer_cast<KTStringDataSource>(dataSource())) {
        source->setStringQuietly(newText);
    }
}

void KTTextInput::draw() {
    KTText::draw();
    const auto cursor = getChildByName("cursor");
    if (!cursor) return;
    const bool focused = hasFocus();
    cursor->setVisible(focused);
    if (!focused) return;
    cursor->setEnabled(false);
    const float width = font() ? font()->width(text()) : 0;
    cursor->setX(alignedX(text()) - x() + width);
}

}  // namespace kt
