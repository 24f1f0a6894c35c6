#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// One frame of a frame animation: an image region shown for a length of time. Scene files make it from
// "frame" with "filename" and "length"; a frame without a width takes its image's size.
class KTAnimationFrame : public KTNode {
public:
    KT_CLASS(KTAnimationFrame)

    KTAnimationFrame() = default;
    KTAnimationFrame(std::shared_ptr<KTImageData> image, float length);

    const std::shared_ptr<KTImageData>& imageData() const { return imageData_; }
    float length() const { return length_; }

    void setAttributes(const XMLAttributes& attributes) override;

private:
    std::shared_ptr<KTImageData> imageData_;
    float length_ = 0;
};

}  // namespace kt
