#pragma once

#include <memory>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// A nine-patch: the image's corners keep their size (corner pixels on the image, the same fraction
// vertically), the edges stretch along one axis and the middle along both. Scene files make it from
// "image9" with "filename" and "corner".
class KTImage9 : public KTNode {
public:
    KT_CLASS(KTImage9)

    KTImage9();
    static std::shared_ptr<KTImage9> imageFromFile(const std::string& path, float corner);

    const std::shared_ptr<KTImageData>& image() const { return imageData_; }
    void setImage(const std::string& path);
    float corner() const { return corner_; }
    void setCorner(float corner) { corner_ = corner; }

    void setAttributes(const XMLAttributes& attributes) override;
    // The node's colour does not tint the patches.
    void draw() override;

private:
    std::shared_ptr<KTImageData> imageData_;
    float corner_ = 0;
};

}  // namespace kt
