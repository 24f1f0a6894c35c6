#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// A horizontal slider for a value 0..1: a press sets the value where it lands and captures the pointer, so
// the knob follows it, held inside the track, until the release. Each change goes to a bound number
// provider and to the scene's "on_change" operation as text. Only the knob is drawn.
class KTSlider : public KTNode {
public:
    KT_CLASS(KTSlider)

    KTSlider();
    KTSlider(const KTSlider&) = delete;
    KTSlider& operator=(const KTSlider&) = delete;

    float value() const { return value_; }
    // Held inside 0..1.
    void setValue(float value);
    bool focused() const { return focused_; }
    const std::shared_ptr<KTImageData>& knob() const { return knob_; }
    // Where the knob is drawn, relative to the slider's position.
    CGRect knobRect() const;
    void callOnChangeHandler();

    void setAttributes(const XMLAttributes& attributes) override;
    void draw() override;
    void mouseMove(CGPoint point) override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void buttonUp(ButtonName button, CGPoint point) override;

protected:
    void dataSourceChanged(bool bound) override;

private:
    void setValueFromString(const std::string& text);
    void followPointer(CGPoint point);

    std::shared_ptr<KTImageData> knob_;
    float value_ = 0.5f;
    CGSize knobSize_;
    bool focused_ = false;
    std::optional<std::string> onChange_;
};

}  // namespace kt
