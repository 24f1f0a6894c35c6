#include "engine/render/KTAnimationFrame.h"

#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {

const KTClass& KTAnimationFrame::staticClass() {
    static const KTClass& cls = KTClass::define<KTAnimationFrame>("KTAnimationFrame", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTAnimationFrame);

KTAnimationFrame::KTAnimationFrame(std::shared_ptr<KTImageData> image, float length)
    : imageData_(std::move(image)), length_(length) {
    if (imageData_) setSize(imageData_->size());
}

void KTAnimationFrame::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) {
        imageData_ = KTResourceManager::shared().getImage(*file);
    }
    if (const std::string* length = attributes.find("length")) {
        length_ = static_cast<float>(KTLeadingReal(*length));
    }
    if (w() == 0 && imageData_) setSize(imageData_->size());
}

}  // namespace kt
