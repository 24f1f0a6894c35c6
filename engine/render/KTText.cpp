#include "engine/render/KTText.h"

#include <cmath>

#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTFont.h"

namespace kt {
namespace {

// A delay this short is not worth a pause before the new value.
constexpr float kMinDataSourceDelay = 0.1f;

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

const KTClass& KTText::staticClass() {
    static const KTClass& cls = KTClass::define<KTText>("KTText", KTNode::staticClass())
                                    .operation("setText:", &KTText::setText)
                                    .operation("setTime:", &KTText::setTimeFromString);
    return cls;
}
KT_REGISTER_CLASS(KTText);

KTText::KTText() {
    setEnabled(false);
}

void KTText::setText(const std::string& text) {
    KTNode::setText(text);
    if (w() > 0) splitText();
}

void KTText::setTime(float seconds) {
    const auto total = static_cast<long long>(std::ceil(seconds));
    KTNode::setText(KTFormat("%02d:%02d", (total / 60) % 60, total % 60));
}

void KTText::setTimeFromString(const std::string& seconds) {
    setTime(static_cast<float>(KTLeadingReal(seconds)));
}

// Every blank starts a new word, so consecutive blanks give empty words; line breaks are not kept.
void KTText::splitText() {
    lines_.assign(1, std::string());
    if (!font_) return;
    const std::string& content = text();
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = start;
        while (end < content.size() && !isSeparator(content[end]))
            ++end;
        const std::string word = content.substr(start, end - start);
        std::string& last = lines_.back();
        std::string candidate = last.empty() ? word : last + " " + word;
        if (w() >= font_->width(candidate)) {
            last = std::move(candidate);
        } else {
            lines_.push_back(word);
        }
        start = end + 1;
    }
}

void KTText::dataSourceChanged(bool bound) {
    const auto source = dataSource();
    if (!source) return;
    // A changed value replaces a shown one after the delay; the first value shows at once.
    if (!bound && dataSourceDelay_ > kMinDataSourceDelay && !text().empty()) {
        stopAllActions();
        runAction(KTWait::waitFor(dataSourceDelay_,
                                  KTCall::actionWithSelectorName("setText:", source->stringValue())));
    } else {
        setText(source->stringValue());
    }
}

void KTText::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    const std::string* fontName = attributes.find("font");
    font_ = KTResourceManager::shared().getFont(fontName ? *fontName : kDefaultFont);
    if (const std::string* height = attributes.find("line_height")) {
        lineHeight_ = static_cast<float>(KTLeadingReal(*height));
    }
    if (const std::string* align = attributes.find("align")) {
        align_ = *align == "right"    ? KTTextAlign::right
                 : *align == "center" ? KTTextAlign::center
                                      : KTTextAlign::left;
    }
    if (const std::string* valign = attributes.find("valign")) {
        valign_ = *valign == "bottom"   ? KTTextVerticalAlign::bottom
                  : *valign == "center" ? KTTextVerticalAlign::center
                                        : KTTextVerticalAlign::top;
    }
    if (const std::string* delay = attributes.find("dataSourceDelay")) {
        dataSourceDelay_ = static_cast<float>(KTLeadingReal(*delay));
    }
    if (w() > 0 && lineHeight_ > 0) splitText();
}

float KTText::alignedX(const std::string& line) const {
    switch (align_) {
        case KTTextAlign::right:
            return x() - font_->width(line);
        case KTTextAlign::center:
            return x() + 0.5f * w() - 0.5f * font_->width(line);
        case KTTextAlign::left:
            break;
    }
    return x();
}

void KTText::draw() {
    KTRenderer* renderer = render();
    if (!renderer || !font_) return;
    const Color saved = renderer->color();
    renderer->multColor(color());
    if (wrapped()) {
        const float spare = h() - static_cast<float>(lines_.size()) * lineHeight_;
        const float shift = valign_ == KTTextVerticalAlign::bottom   ? spare
                            : valign_ == KTTextVerticalAlign::center ? 0.5f * spare
                                                                     : 0;
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            font_->draw(*renderer, lines_[k],
                        {alignedX(lines_[k]), y() + static_cast<float>(k) * lineHeight_ + shift});
        }
    } else {
        font_->draw(*renderer, text(), {alignedX(text()), y()});
    }
    renderer->setColor(saved);
}

}  // namespace kt
