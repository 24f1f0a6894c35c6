#include "engine/render/KTImage.h"

#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTImageData.h"

namespace kt {

const KTClass& KTImage::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTImage>("KTImage", KTNode::staticClass()).operation("setImage:", &KTImage::setImage);
    return cls;
}
KT_REGISTER_CLASS(KTImage);

KTImage::KTImage() {
    setEnabled(false);
    setHitTest(false);
}

std::shared_ptr<KTImage> KTImage::imageFromFile(const std::string& path) {
    auto image = node<KTImage>();
    image->setImage(path);
    return image;
}

void KTImage::setImage(const std::string& path) {
    imdata_ = KTResourceManager::shared().getImage(path);
    if (imdata_) setSize(imdata_->size());
}

void KTImage::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) setImage(*file);
}

void KTImage::draw() {
    KTRenderer* renderer = render();
    if (!renderer) return;
    renderer->pushColor();
    renderer->multColor(color());
    renderer->setImageData(imdata_.get());
    renderer->drawRect(getRect());
    renderer->popColor();
}

}  // namespace kt
