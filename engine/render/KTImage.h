#pragma once

#include <memory>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// Shows an image region stretched over the node, tinted by the node's colour. Without an image it fills its
// rectangle with its colour. Scene files make it from "image"; "filename" names the image and sizes the node.
class KTImage : public KTNode {
public:
    KT_CLASS(KTImage)

    KTImage();
    static std::shared_ptr<KTImage> imageFromFile(const std::string& path);

    const std::shared_ptr<KTImageData>& image() const { return imdata_; }
    // Through the resource manager's cache; a missing image leaves the node without one.
    void setImage(const std::string& path);
    void setImageData(std::shared_ptr<KTImageData> image) { imdata_ = std::move(image); }

    void setAttributes(const XMLAttributes& attributes) override;
    void draw() override;

private:
    std::shared_ptr<KTImageData> imdata_;
};

}  // namespace kt
