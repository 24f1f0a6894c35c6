#pragma once

#include <memory>

#include "engine/core/KTNode.h"
#include "engine/core/KTProgressIndicator.h"

namespace kt {

class KTImageData;

// Shows a fraction 0..1 as the revealed part of an image: from the left, from the bottom (vertical), or as
// a pie sector that starts at the top and grows clockwise (circular). A child named "edge" marks the end of
// the filled part of a straight bar. The value may follow a value provider.
class KTProgress : public KTNode, public KTProgressIndicator {
public:
    KT_CLASS(KTProgress)

    // Pie sectors are drawn in slices of at most this angle.
    static constexpr float kMaxSliceAngle = 3.14159265f / 4;

    KTProgress();
    KTProgress(const KTProgress&) = delete;
    KTProgress& operator=(const KTProgress&) = delete;

    float value() const { return value_; }
    // Clamped to 0..1.
    void setValue(float value);
    void setProgress(float progress) override { setValue(progress); }
    const std::shared_ptr<KTImageData>& imageData() const { return imageData_; }
    void setImageData(std::shared_ptr<KTImageData> image) { imageData_ = std::move(image); }
    bool vertical() const { return vertical_; }
    void setVertical(bool vertical) { vertical_ = vertical; }
    bool circular() const { return circular_; }
    void setCircular(bool circular) { circular_ = circular; }
    float dataSourceDelay() const { return dataSourceDelay_; }

    void setAttributes(const XMLAttributes& attributes) override;
    void draw() override;

protected:
    void dataSourceChanged(bool bound) override;

private:
    void setValueFromString(const std::string& text);
    void placeEdge();
    void drawPie(KTRenderer& renderer) const;

    std::shared_ptr<KTImageData> imageData_;
    float value_ = 0.5f;
    bool vertical_ = false;
    bool circular_ = false;
    float dataSourceDelay_ = 0;
};

}  // namespace kt
