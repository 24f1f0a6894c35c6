#include "engine/controls/KTSlider.h"

#include <algorithm>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {

const KTClass& KTSlider::staticClass() {
    static const KTClass& cls = KTClass::define<KTSlider>("KTSlider", KTNode::staticClass())
                                    .operation("setValue:", &KTSlider::setValueFromString);
    return cls;
}
KT_REGISTER_CLASS(KTSlider);

KTSlider::KTSlider() = default;

void KTSlider::setValue(float value) {
    value_ = std::clamp(value, 0.0f, 1.0f);
}

void KTSlider::setValueFromString(const std::string& text) {
    setValue(static_cast<float>(KTLeadingReal(text)));
}

CGRect KTSlider::knobRect() const {
    return {{(w() - 0.5f * knobSize_.width) * value_, (knobSize_.height - h()) * -0.5f}, knobSize_};
}

void KTSlider::dataSourceChanged(bool) {
    if (const auto source = dataSource()) setValueFromString(source->stringValue());
}

void KTSlider::setAttributes(const XMLAttributes& attributes) {
    if (const std::string* file = attributes.find("key_filename")) {
        knob_ = KTResourceManager::shared().getImage(*file);
        if (knob_) {
            knobSize_ = knob_->size();
        } else {
            KTLogContentProblem("slider knob image \"" + *file + "\" is missing", fileBeingLoaded());
        }
    }
    if (const std::string* operation = attributes.find("on_change")) onChange_ = *operation;
    KTNode::setAttributes(attributes);
}

void KTSlider::callOnChangeHandler() {
    if (const auto source = std::dynamic_pointer_cast<KTNumberDataSource>(dataSource()))
        source->setFloat(value_);
    const auto owner = scene();
    if (onChange_ && owner && owner->respondsTo(*onChange_))
        owner->perform(*onChange_, KTFormat("%f", value_));
}

// A track without width has no place for the pointer; it leaves the value alone.
void KTSlider::followPointer(CGPoint point) {
    if (w() <= 0) return;
    setValue((point.x - x()) / w());
    callOnChangeHandler();
}

void KTSlider::buttonDown(ButtonName, CGPoint point) {
    focused_ = true;
    if (const auto owner = scene()) owner->setMouseFocus(sharedAs<KTNode>());
    followPointer(point);
}

void KTSlider::mouseMove(CGPoint point) {
    if (focused_) followPointer(point);
}

void KTSlider::buttonUp(ButtonName, CGPoint) {
    focused_ = false;
    if (const auto owner = scene()) owner->setMouseFocus(nullptr);
}

void KTSlider::draw() {
    KTRenderer* renderer = render();
    if (!renderer || !knob_) return;
    renderer->push();
    renderer->translate(position());
    renderer->pushColor();
    renderer->multColor(color());
    renderer->setImageData(knob_.get());
    renderer->drawRect(knobRect());
    renderer->popColor();
    renderer->pop();
}

}  // namespace kt
